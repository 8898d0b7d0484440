// Assertion reports and the zeroed array storage modules use for their growable arrays.
#include "quorvane/util.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {
std::atomic<int> assertsReported{0};
}

void MyAssertFailedLine(const char* text, const char* source, int line) {
    ++assertsReported;
    std::fprintf(stderr, "assertion failed: %s (%s:%d)\n", text ? text : "", source ? source : "",
                 line);
}

int NumAssertsReported() { return assertsReported.load(); }

void* array_new(size_t elemSize, int capacity) {
    if (capacity <= 0 || elemSize == 0) return nullptr;
    return std::calloc(static_cast<size_t>(capacity), elemSize);
}

void array_delete(void* data) { std::free(data); }

int array_assert(int index, int count, const char* source, int line) {
    if (index >= 0 && index < count) return 1;
    MyAssertFailedLine("index out of range", source, line);
    return 0;
}
