#include "gui/GuiTestSupport.h"

#include "app/host/ErrorDialogComponent.h"
#include "editor/FrmWizard.h"
#include "registry/RegistryAccess.h"
#include "testsupport/TreeFiles.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace corvane::test {

namespace fs = std::filesystem;

namespace {

#ifdef Q_OS_WIN
constexpr char DefaultPlatform[] = "windows";
#else
constexpr char DefaultPlatform[] = "offscreen";
#endif

// Ends the test program when the platform plugin it asks for is in none of Qt's plugin
// folders: on Windows Qt would report that in a message box and wait for a click for ever.
void requirePlatformPlugin() {
#ifdef Q_OS_WIN
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM").section(u':', 0, 0);
    for (const QString& folder : QCoreApplication::libraryPaths())
        if (QFileInfo::exists(folder + QStringLiteral("/platforms/q") + platform + QStringLiteral(".dll")))
            return;
    std::cerr << "no Qt platform plugin \"" << platform.toStdString() << "\" in "
              << QCoreApplication::libraryPaths().join(u';').toStdString() << "\n";
    std::exit(1);
#endif
}

} // namespace

void ensureApplication() {
    static int argc = 1;
    static char name[] = "corvane_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = nullptr;
    if (application)
        return;
    // On Windows the program's own platform: Qt's offscreen platform there has no fonts.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", DefaultPlatform);
    // The Windows build puts Qt's plugins beside the programs in bin/, away from the test
    // programs; Wine hands no QT_* variable (QT_PLUGIN_PATH) to a Windows program.
    QCoreApplication::addLibraryPath(QStringLiteral(CORVANE_BINARY_DIR "/bin"));
    requirePlatformPlugin();
    application = new QApplication(argc, argv); // lives as long as the test program
}

bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }

bool PaintCounter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint)
        ++paints_;
    return QObject::eventFilter(watched, event);
}

void clickAt(QWidget* widget, QPoint point) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, point.isNull() ? widget->rect().center() : point);
}

void answerWhenShown(app::QtWindowSystem& windows, std::string formName, std::function<void(app::FormWindow&)> answer) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [&windows, timer, tries, formName, answer] {
        app::FormWindow* window = windows.window(formName);
        if (!window || !window->isVisible()) {
            if (++*tries > 250) {
                std::cerr << "the window " << formName << " was never shown\n";
                std::abort();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        answer(*window);
    });
    timer->start(20);
}

bool installHelpFile(const GuiFixture& fixture) {
    fs::path built = fs::path(CORVANE_BINARY_DIR) / "share" / "corvane" / "corvane.chm";
    if (!fs::is_regular_file(built))
        return false;
    fs::copy_file(built, fixture.dir() / "data" / "corvane.chm", fs::copy_options::overwrite_existing);
    return true;
}

GuiFixture::GuiFixture() {
    ensureApplication();
    qputenv("CORVANE_REGISTRY", QByteArray::fromStdString((dir_ / "registry.reg").string()));
    qputenv("CORVANE_DATA_DIR", QByteArray::fromStdString((dir_ / "data").string()));
    qputenv("CORVANE_ERROR_LOG", QByteArray::fromStdString((dir_ / "errors.log").string()));
    copyDataFolder(dir_ / "data");
    writeFile(dir_ / "data" / "languages.txt", "English\nGerman\nFrench\n");
    project_ = copyExample(dir_ / "OrderEntry");
}

GuiFixture::~GuiFixture() {
    session_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qunsetenv("CORVANE_REGISTRY");
    qunsetenv("CORVANE_DATA_DIR");
    qunsetenv("CORVANE_ERROR_LOG");
}

app::GuiSession& GuiFixture::session() {
    if (session_)
        return *session_;
    session_ = std::make_unique<app::GuiSession>();
    // Nothing may wait for a user: reports and message boxes are answered and recorded.
    app::registerErrorDialogComponent(nullptr, [this](const std::string& report) {
        reports_.push_back(report);
        return app::ErrorChoice::Ignore;
    });
    session_->windows().setMessageBoxHandler([this](std::string_view prompt, int style, std::string_view) {
        messages_.emplace_back(prompt);
        switch (controls::buttonSet(style)) {
        case controls::vbOKOnly:
        case controls::vbOKCancel: return controls::vbOK;
        case controls::vbAbortRetryIgnore:
        case controls::vbRetryCancel: return controls::vbCancel;
        default: return controls::vbNo;
        }
    });
    return *session_;
}

app::ToolbarView* GuiFixture::openEditor() {
    if (!session().edit(project_)) {
        ADD_FAILURE() << "the editor did not open";
        return nullptr;
    }
    FrmWizard* editor = session().addin().editor();
    app::FormWindow* window = editor ? session().windows().window(*editor) : nullptr;
    auto* toolbar = window ? window->findChild<app::ToolbarView*>() : nullptr;
    if (!toolbar)
        ADD_FAILURE() << "the editor has no window with a toolbar";
    return toolbar;
}

std::string GuiFixture::registryValue(const std::string& key, const std::string& name) const {
    return registry().GetValue(RegistryRoot::CurrentUser, key, name);
}

} // namespace corvane::test
