#include "assertRecorder.h"

#include <cassert>

namespace fakes {

namespace {

AssertRecorder* g_pActive;

}  // namespace

AssertRecorder::AssertRecorder()
{
    assert(!g_pActive && "one AssertRecorder at a time");
    g_pActive = this;
    previous_ = renderAssert_SetHook(Record);
}

AssertRecorder::~AssertRecorder()
{
    renderAssert_SetHook(previous_);
    g_pActive = nullptr;
}

void AssertRecorder::Record(const char* expression, const char* file, int line)
{
    if (g_pActive) g_pActive->records_.push_back({expression ? expression : "", file ? file : "", line});
}

std::string AssertRecorder::Last() const
{
    return records_.empty() ? std::string() : records_.back().expression;
}

bool AssertRecorder::Has(const std::string& expression, const char* file) const
{
    for (const AssertRecord& record : records_) {
        if (record.expression == expression && (!file || record.file == file)) return true;
    }
    return false;
}

}  // namespace fakes
