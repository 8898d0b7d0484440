// Chooses the name prefix of a new biped by looking at the names of the scene's nodes.
#include "Skeleton/Bip/BipPrefix.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {
constexpr size_t kMaxRootNameLength = 6;  // longer names are bones, not roots
constexpr int kMaxUsableNumber = 999;     // a name's number counts only up to here
constexpr int kTwoDigitFrom = 10;         // numbers below are written with a leading 0
}  // namespace

int PrefixNumberOfName(const char* name) {
    if (name == nullptr) return -1;
    const size_t len = std::strlen(name);
    if (len > kMaxRootNameLength) return -1;
    char lower[kMaxRootNameLength + 1] = {};
    for (size_t i = 0; i < len; ++i)
        lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    if (std::strncmp(lower, "bip", 3) != 0) return -1;
    int number = 0;
    size_t i = 3;
    for (; i < len && std::isdigit(static_cast<unsigned char>(lower[i])); ++i)
        number = number * 10 + (lower[i] - '0');
    if (i == 3) return -1;  // no digit after "bip"
    return number <= kMaxUsableNumber ? number : -1;
}

void MarkPrefixNumberUsed(unsigned char used[kUsedSetBytes], int n) {
    if (n < 1 || n > kMaxPrefixNumber) return;
    used[(n - 1) / 8] |= static_cast<unsigned char>(1u << ((n - 1) % 8));
}

int FirstFreePrefixNumber(const unsigned char used[kUsedSetBytes]) {
    for (int byte = 0; byte < kUsedSetBytes; ++byte)
        for (int bit = 0; bit < 8; ++bit)
            if ((used[byte] & (1u << bit)) == 0) return byte * 8 + bit + 1;
    return kMaxPrefixNumber + 1;
}

void FormatPrefix(int number, char* out) {
    std::snprintf(out, kPrefixBufferSize, number < kTwoDigitFrom ? "Bip0%d" : "Bip%d", number);
}

void NewBipPrefix(char* out) {
    unsigned char used[kUsedSetBytes] = {};
    const int count = Interface::NumNodes();
    for (int i = 0; i < count; ++i) {
        const cnode* node = Interface::GetNodeAt(i);
        if (node != nullptr) MarkPrefixNumberUsed(used, PrefixNumberOfName(node->GetName()));
    }
    FormatPrefix(FirstFreePrefixNumber(used), out);
}
