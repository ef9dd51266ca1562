// The stand-in shell server's record of the calls it received: one line per call, written
// and flushed at once, so a test reads every call made so far while the server still runs
// (and what it got before it was ended, if it had to be).
#pragma once

#include <cstdio>
#include <string>

namespace nestora::testing {

class CallRecord {
public:
    // An empty path records nothing.
    explicit CallRecord(const std::wstring& path);
    ~CallRecord();
    CallRecord(const CallRecord&) = delete;
    CallRecord& operator=(const CallRecord&) = delete;

    void Line(const std::wstring& text);

private:
    std::FILE* file_ = nullptr;
};

} // namespace nestora::testing
