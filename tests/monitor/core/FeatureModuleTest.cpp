// Feature modules plugging into a run: the seams they fill are the ones the
// core's commands and poller use, their commands answer by name, and what no
// module brings stays disabled.

#include "FeatureModule.h"
#include "ApplicationControl.h"
#include "CoreFixture.h"
#include "ModuleRunEnvironment.h"
#include "MonitorCore.h"
#include "MonitorParts.h"
#include "VirtualRunner.h"

#include <stdexcept>

namespace {

class DialModule : public FeatureModule, public RecordingFeatures {
public:
    void attach(MonitorParts& parts, CommandTable& commands) override {
        parts.features.dial = this;
        commands.add(QStringLiteral("Properties1"), [this] { calls << QStringLiteral("Props"); });
        commands.add(QStringLiteral("Failing1"), [] { throw std::runtime_error("no luck"); });
    }
};

class FeatureModuleTest : public CoreFixture {
protected:
    MonitorCore& makeCore(MonitorFeatures given) {
        m_core = std::make_unique<MonitorCore>(moduleRunEnvironment(
            store, formats, clock, view, ras, chime, control, {&module}, nullptr, given));
        return *m_core;
    }

    DialModule module;
    VirtualChime chime{clock};
    TerminateFlag control;
    std::unique_ptr<MonitorCore> m_core;
};

TEST_F(FeatureModuleTest, AModuleSeamAndCommandsAreUsedAndOnlyWhatIsMissingIsDisabled) {
    MonitorCore& core = makeCore(MonitorFeatures{});
    EXPECT_TRUE(core.click(QStringLiteral("Dialdart2")));
    EXPECT_TRUE(core.click(QStringLiteral("Properties1")));
    EXPECT_EQ(module.calls, (QStringList{"DialdartMenu", "Props"}));
    EXPECT_FALSE(view.enabled.contains(QStringLiteral("Dialdart1")));
    EXPECT_FALSE(view.enabled.contains(QStringLiteral("Properties1")));
    EXPECT_FALSE(view.enabled.value(QStringLiteral("Wizard1"), true));
    EXPECT_FALSE(view.enabled.value(QStringLiteral("Companion1"), true));
    EXPECT_FALSE(core.click(QStringLiteral("NoSuchCommand")));
    // A command that fails is still a known one: its failure is the warning.
    EXPECT_TRUE(core.click(QStringLiteral("Failing1")));
    ASSERT_FALSE(view.rows.isEmpty());
    EXPECT_EQ(view.rows.last().text, QStringLiteral("no luck"));
}

TEST_F(FeatureModuleTest, AModuleOverridesASeamGivenDirectly) {
    RecordingFeatures direct;
    MonitorCore& core = makeCore(MonitorFeatures::allFrom(direct));
    core.click(QStringLiteral("ToolbarButton973"));
    EXPECT_EQ(module.calls, QStringList{"DialdartMenu"});
    EXPECT_TRUE(direct.calls.isEmpty());
}

} // namespace
