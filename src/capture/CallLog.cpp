#include "capture/CallLog.h"

#include "capture/CaptureState.h"

namespace capture {

void RecordCalls(bool on) { TheState().logging = on; }

const std::vector<Call>& CallLog() { return TheState().log; }

void LogCall(const char* name, std::initializer_list<double> args, const void* pointer, bool kept) {
    State& s = TheState();
    s.log.push_back(Call{name, std::vector<double>(args), pointer, kept ? s.compiling : 0u});
}

void LogArray(const char* name, std::initializer_list<double> head, const float* values, int count) {
    State& s = TheState();
    if (!s.logging) return;
    LogCall(name, head, nullptr, true);
    s.log.back().args.insert(s.log.back().args.end(), values, values + count);
}

}  // namespace capture
