// Runs the real application on a virtual X display: it must open the demo, show lit lamps in
// its preview, and end cleanly with its settings written when its window is closed the way a
// window manager closes it.
#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QThread>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

// A reply of the X server, freed with it.
template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

// A connection to the X display, used to find the application's window and close it.
class XDisplay {
  public:
    XDisplay() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~XDisplay() { xcb_disconnect(connection_); }
    bool ok() const { return xcb_connection_has_error(connection_) == 0; }

    // The top-level window whose title starts with `prefix`.
    std::optional<xcb_window_t> findWindow(const std::string& prefix) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        Owned<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root), nullptr),
            &std::free);
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
            const xcb_window_t window = xcb_query_tree_children(tree.get())[i];
            Owned<xcb_get_property_reply_t> name(
                xcb_get_property_reply(connection_,
                                       xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME,
                                                        XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                       nullptr),
                &std::free);
            const auto* text =
                name ? static_cast<const char*>(xcb_get_property_value(name.get())) : "";
            if (std::string_view(text, name ? xcb_get_property_value_length(name.get()) : 0)
                    .starts_with(prefix)) {
                return window;
            }
        }
        return std::nullopt;
    }

    // Asks the window to close, as a window manager's close button does.
    void requestClose(xcb_window_t window) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
    }

  private:
    xcb_atom_t atom(const char* name) {
        Owned<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(
                connection_,
                xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(strlen(name)), name),
                nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    xcb_connection_t* connection_;
};

// Pixels of a lamp colour (strongly saturated and bright) below the window's menus and toolbar;
// the window's own furniture is grey.
int litLampPixels(const QImage& screen) {
    int lit = 0;
    for (int y = screen.height() / 4; y < screen.height() * 9 / 10; ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            const QColor colour = screen.pixelColor(x, y);
            const int high = std::max({colour.red(), colour.green(), colour.blue()});
            const int low = std::min({colour.red(), colour.green(), colour.blue()});
            if (high >= 150 && high - low >= 120) {
                ++lit;
            }
        }
    }
    return lit;
}

TEST(Smoke, DemoPlaysAndTheWindowClosesCleanly) {
    // This process grabs the screen through the display too.
    qputenv("QT_QPA_PLATFORM", "xcb");
    int argc = 1;
    char name[] = "app_smoke_test";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    XDisplay display;
    ASSERT_TRUE(display.ok()) << "no X display: run under xvfb-run";

    QProcess rova;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // System libraries keep memory for the life of the process; leaks are checked elsewhere.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    rova.setProcessEnvironment(environment);
    rova.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer sinceStart;
    sinceStart.start();
    rova.start(QStringLiteral(ROVA_APP_PATH), {});
    ASSERT_TRUE(rova.waitForStarted(10000));

    // Wait for the preview to show lit lamps.
    QImage shot;
    int lit = 0;
    qint64 firstLitMs = -1;
    while (sinceStart.elapsed() < 60000 && rova.state() == QProcess::Running) {
        shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        lit = litLampPixels(shot);
        if (lit >= 200) {
            firstLitMs = sinceStart.elapsed();
            break;
        }
        QThread::msleep(100);
    }
    shot.save(QDir::current().filePath(QStringLiteral("rova-smoke.png")));
    std::printf("lit lamp pixels: %d, first seen after %lld ms\n", lit,
                static_cast<long long>(firstLitMs));
    ASSERT_GE(firstLitMs, 0) << "the preview never showed lit lamps";

    const std::optional<xcb_window_t> window = display.findWindow("Rova - ");
    ASSERT_TRUE(window.has_value()) << "no window titled \"Rova - ...\"";
    display.requestClose(*window);
    ASSERT_TRUE(rova.waitForFinished(20000)) << "the application did not end after its window "
                                                "was closed";
    EXPECT_EQ(rova.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(rova.exitCode(), 0);

    // The settings were written on the way out (the test main gave this process and its child
    // folders of their own, a private runtime folder among them).
    QSettings settings(QDir(qEnvironmentVariable("XDG_CONFIG_HOME"))
                           .filePath(QStringLiteral("Mirelight/Rova.ini")),
                       QSettings::IniFormat);
    EXPECT_TRUE(settings.contains(QStringLiteral("Window%20States/Main")) ||
                settings.contains(QStringLiteral("Window States/Main")))
        << settings.allKeys().join(u',').toStdString();
    EXPECT_TRUE(settings.contains(QStringLiteral("Settings/ToolbarVisible")));
}

}  // namespace
