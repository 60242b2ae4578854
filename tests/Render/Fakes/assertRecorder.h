// Failed assertions of the engine, recorded instead of reaching the viewer's routine. While an
// AssertRecorder lives it is the routine in place; its destructor puts back the one before.
//
//   fakes::AssertRecorder asserts;                  // one at a time, a member of the fixture
//   ...
//   EXPECT_TRUE(asserts.Records().empty()) << asserts.Last();
//   EXPECT_TRUE(asserts.Has("pLimitStack", "UI\\uiCursor"));
#pragma once
#include <string>
#include <vector>

#include "renderAssert.h"

namespace fakes {

struct AssertRecord {
    std::string expression;
    std::string file;
    int line = 0;
};

class AssertRecorder {
public:
    AssertRecorder();
    ~AssertRecorder();
    AssertRecorder(const AssertRecorder&) = delete;
    AssertRecorder& operator=(const AssertRecorder&) = delete;

    const std::vector<AssertRecord>& Records() const { return records_; }
    int Count() const { return (int)records_.size(); }
    // The expression of the last assertion; empty when there was none.
    std::string Last() const;
    // Whether an assertion of this expression was reported (from this file, when one is named).
    bool Has(const std::string& expression, const char* file = nullptr) const;
    void Clear() { records_.clear(); }

private:
    static void Record(const char* expression, const char* file, int line);

    renderAssertFunc previous_;
    std::vector<AssertRecord> records_;
};

}  // namespace fakes
