#include "platform/rtl/Objects.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
class TPlain : public TObject {};
namespace Inner {
class TNested : public TPersistent {};
} // namespace Inner
template <typename T>
class THolder : public TObject {};
} // namespace

class TOuter {
public:
    class TMember : public TObject {};
};

TEST(ClassName, IsTheMostDerivedClassWithoutItsScopes) {
    struct Case {
        const char* Trace;
        std::unique_ptr<TObject> Object;
        const char* Expected;
    };
    Case Cases[] = {
        {"base itself", std::make_unique<TObject>(), "TObject"},
        {"anonymous namespace", std::make_unique<TPlain>(), "TPlain"},
        {"nested namespace", std::make_unique<Inner::TNested>(), "TNested"},
        {"enclosing class", std::make_unique<TOuter::TMember>(), "TMember"},
        {"template argument with a scope", std::make_unique<THolder<Inner::TNested>>(),
         "THolder<(anonymous namespace)::Inner::TNested>"},
    };
    for (const Case& C : Cases) EXPECT_EQ(C.Object->ClassName().toStdString(), C.Expected) << C.Trace;
    // Through a base pointer the dynamic class answers.
    std::unique_ptr<TPersistent> Through = std::make_unique<Inner::TNested>();
    EXPECT_EQ(Through->ClassName(), "TNested");
}
