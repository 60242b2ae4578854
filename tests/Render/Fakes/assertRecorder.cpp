#include "assertRecorder.h"

#include <cassert>

namespace fakes {

namespace {

AssertRecorder* g_pActive;

// Copies text into a fixed field, cut to fit.
template <size_t N>
void keep(char (&field)[N], const char* text)
{
    size_t n = 0;
    for (; text && text[n] && n + 1 < N; n++) field[n] = text[n];
    field[n] = 0;
}

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
    AssertRecorder* self = g_pActive;
    if (!self) return;
    if (self->numRaised_ == kMaxRaised) {
        self->numLost_++;
        return;
    }
    Raised& raised = self->raised_[self->numRaised_++];
    keep(raised.expression, expression);
    keep(raised.file, file);
    raised.line = line;
}

// The assertions raised since the last look join the records, in the order they came.
const std::vector<AssertRecord>& AssertRecorder::Records() const
{
    for (int i = 0; i < numRaised_; i++)
        records_.push_back({raised_[i].expression, raised_[i].file, raised_[i].line});
    if (numLost_) records_.push_back({"(more assertions than the recorder holds at once)", "", numLost_});
    numRaised_ = numLost_ = 0;
    return records_;
}

void AssertRecorder::Clear()
{
    numRaised_ = numLost_ = 0;
    records_.clear();
}

std::string AssertRecorder::Last() const
{
    const std::vector<AssertRecord>& records = Records();
    return records.empty() ? std::string() : records.back().expression;
}

bool AssertRecorder::Has(const std::string& expression, const char* file) const
{
    for (const AssertRecord& record : Records()) {
        if (record.expression == expression && (!file || record.file == file)) return true;
    }
    return false;
}

}  // namespace fakes
