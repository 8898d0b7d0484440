// The host's animation recording switched for the life of a scope and put back afterwards:
// commands key with it on; building a biped, which is not animating, runs with it off.
#pragma once

#include "quorvane/interface.h"

class RecordingScope {
public:
    explicit RecordingScope(int on) : wasOn_(Interface::IsAnimOn()) { Interface::SetAnimOn(on); }
    ~RecordingScope() { Interface::SetAnimOn(wasOn_); }
    RecordingScope(const RecordingScope&) = delete;
    RecordingScope& operator=(const RecordingScope&) = delete;

private:
    int wasOn_;
};
