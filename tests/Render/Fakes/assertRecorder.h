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

    const std::vector<AssertRecord>& Records() const;
    int Count() const { return (int)Records().size(); }
    // The expression of the last assertion; empty when there was none.
    std::string Last() const;
    // Whether an assertion of this expression was reported (from this file, when one is named).
    bool Has(const std::string& expression, const char* file = nullptr) const;
    void Clear();

private:
    static void Record(const char* expression, const char* file, int line);

    // An assertion is kept in fixed space while it is raised, so that recording it allocates
    // nothing: a test may be counting the heap of the code that raised it.
    struct Raised {
        char expression[160];
        char file[96];
        int line;
    };
    static const int kMaxRaised = 64;

    renderAssertFunc previous_;
    Raised raised_[kMaxRaised];
    mutable int numRaised_ = 0;
    mutable int numLost_ = 0;   // raised when the fixed space was full
    mutable std::vector<AssertRecord> records_;
};

}  // namespace fakes
