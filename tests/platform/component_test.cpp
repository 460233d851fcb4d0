#include "platform/core/component.h"
#include "platform/base/exceptions.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Records what it saw of the loading state when properties were set and when loaded.
class Probe : public TComponent {
public:
    Probe(TComponent *owner, QString name, QStringList &log) : TComponent(owner), FLog(log) {
        SetName(std::move(name));
    }
    void SetValue() { FLog << Name() + (IsLoading() ? ":set-loading" : ":set"); }
    void Loaded() override { FLog << Name() + (IsLoading() ? ":loaded-still-loading" : ":loaded"); }

private:
    QStringList &FLog;
};

} // namespace

TEST(ReadLayout, SetsPropertiesWhileLoadingThenLoadsInCreationOrder) {
    QStringList log;
    Probe root(nullptr, "root", log);
    std::unique_ptr<Probe> a, b;
    ReadLayout(root, [&] {
        a = std::make_unique<Probe>(&root, "a", log);
        b = std::make_unique<Probe>(&root, "b", log);
        b->SetValue();
        a->SetValue();
    });
    EXPECT_EQ(log, QStringList(
                       {"b:set-loading", "a:set-loading", "root:loaded", "a:loaded", "b:loaded"}));
    EXPECT_FALSE(a->IsLoading());
}

TEST(ReadLayout, ErrorEndsLoadingAndPropagates) {
    QStringList log;
    Probe root(nullptr, "root", log);
    Probe child(&root, "child", log);
    EXPECT_THROW(ReadLayout(root, [] { throw EConvertError("bad"); }), EConvertError);
    EXPECT_FALSE(root.IsLoading());
    EXPECT_FALSE(child.IsLoading());
    EXPECT_TRUE(log.isEmpty());
}

TEST(Component, DesigningCoversOwnedComponentsAndLaterOnes) {
    QStringList log;
    Probe root(nullptr, "root", log);
    Probe before(&root, "before", log);
    root.SetDesigning(true);
    Probe after(&root, "after", log);
    EXPECT_TRUE(before.IsDesigning());
    EXPECT_TRUE(after.IsDesigning());
}

TEST(Component, DestroyedComponentLeavesItsOwner) {
    QStringList log;
    Probe root(nullptr, "root", log);
    {
        Probe gone(&root, "gone", log);
        EXPECT_EQ(root.Components().size(), 1u);
    }
    EXPECT_TRUE(root.Components().empty());
}

TEST(Exception, FormatFillsEachPlaceholderInTurn) {
    EXPECT_EQ(Exception::Format("'%s' ist kein gültiger Integerwert", {"x1"}),
              "'x1' ist kein gültiger Integerwert");
    EXPECT_EQ(Exception::Format("%s und %s, %s", {"a", "b"}), "a und b, %s");
    EXPECT_STREQ(EConvertError("Größe").what(), "Größe");
}
