#include "platform/core/wayland.h"

#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <optional>

namespace {

struct Case {
    std::optional<QByteArray> waylandDisplay, platformBefore, platformAfter;
};

} // namespace

TEST(Wayland, PlatformChoice) {
    const Case cases[] = {
        {"wayland-0", std::nullopt, "xcb;wayland"}, // Wayland session: through XWayland
        {"wayland-0", "wayland", "wayland"},        // the user's choice stands
        {"wayland-0", "", ""},                      // even an empty one
        {"", std::nullopt, std::nullopt},           // no Wayland session
        {std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        ScopedEnv display("WAYLAND_DISPLAY", c.waylandDisplay);
        ScopedEnv platform("QT_QPA_PLATFORM", c.platformBefore);
        PreferX11UnderWayland();
        const std::optional<QByteArray> after = qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
                                                    ? std::optional(qgetenv("QT_QPA_PLATFORM"))
                                                    : std::nullopt;
        EXPECT_EQ(after, c.platformAfter)
            << c.waylandDisplay.value_or("(unset)").constData() << " / "
            << c.platformBefore.value_or("(unset)").constData();
    }
}
