#include "app/host/QtHelpViewer.h"

#include "app/views/ScreenPlace.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace corvane::app {

namespace {

const QString DefaultTitle = QStringLiteral("Corvane Help");
// The frame and title bar a window manager adds, until the window's own are known.
const QSize FrameAllowance(16, 48);

QByteArray bytesOf(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links inside the help file stay here; the others go to the user's web browser.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String(Scheme))
            setSource(url, QTextDocument::HtmlResource);
        else
            QDesktopServices::openUrl(url);
    });
}

QUrl HelpBrowser::urlOf(const std::string& path, const std::string& anchor) {
    QUrl url;
    url.setScheme(QString::fromLatin1(Scheme));
    url.setPath(QString::fromStdString(path.empty() || path.front() != '/' ? "/" + path : path));
    if (!anchor.empty())
        url.setFragment(QString::fromStdString(anchor));
    return url;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() != QLatin1String(Scheme) || !topic_.archive)
        return {};
    // The path is absolute within the help file, so the page it came from does not matter.
    auto bytes = topic_.resource(name.path(QUrl::FullyDecoded).toStdString());
    if (!bytes)
        return type == QTextDocument::HtmlResource ? QVariant(QStringLiteral("<p>This page is missing from the help file.</p>"))
                                                   : QVariant();
    return bytesOf(*bytes);
}

QtHelpViewer::QtHelpViewer() = default;

QtHelpViewer::~QtHelpViewer() { delete window_.data(); }

void QtHelpViewer::ensureWindow() {
    if (window_)
        return;
    window_ = new QWidget(nullptr, Qt::Window);
    window_->setObjectName(QStringLiteral("helpViewer"));
    window_->setWindowTitle(DefaultTitle);
    window_->resize(640, 480);
    browser_ = new HelpBrowser(window_);
    toolbar_ = new QToolBar(window_);
    QAction* back = toolbar_->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
    QAction* forward = toolbar_->addAction(QStringLiteral("Forward"), browser_, &QTextBrowser::forward);
    toolbar_->addAction(QStringLiteral("Home"), browser_, &QTextBrowser::home);
    back->setEnabled(false);
    forward->setEnabled(false);
    QObject::connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QObject::connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QObject::connect(browser_, &QTextBrowser::sourceChanged, window_, [this] { updateTitle(); });
    auto* layout = new QVBoxLayout(window_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar_);
    layout->addWidget(browser_);
}

void QtHelpViewer::bringUp() {
    if (!window_->isVisible())
        placeOnScreen();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

// The first time it shows, the window goes into the middle of the screen the user works on,
// shrunk to fit it with its frame and title bar (a window manager would put it where it runs
// past the bottom of a small screen).
void QtHelpViewer::placeOnScreen() {
    QWidget* active = QApplication::activeWindow();
    QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window_->testAttribute(Qt::WA_WState_Created) && window_->frameGeometry().size() != window_->size()
                            ? window_->frameGeometry().size() - window_->size()
                            : FrameAllowance;
    window_->resize(window_->size().boundedTo(area.size() - frame));
    QRect outer(QPoint(), window_->size() + frame);
    outer.moveCenter(area.center());
    window_->move(ScreenPlace::within(outer, area).topLeft());
}

void QtHelpViewer::updateTitle() {
    QString title = showingMessage_ ? QString() : browser_->documentTitle();
    window_->setWindowTitle(title.isEmpty() ? DefaultTitle : title + QStringLiteral(" - ") + DefaultTitle);
}

void QtHelpViewer::showTopic(const HelpTopic& topic) {
    ensureWindow();
    showingMessage_ = false;
    browser_->setTopic(topic);
    // The history belongs to the help file that was shown before.
    browser_->clearHistory();
    QUrl url = HelpBrowser::urlOf(topic.path, topic.anchor);
    if (browser_->source() == url)
        browser_->reload();
    else
        browser_->setSource(url, QTextDocument::HtmlResource);
    updateTitle();
    bringUp();
}

void QtHelpViewer::showMessage(const HelpMessage& message) {
    ensureWindow();
    showingMessage_ = true;
    browser_->clearHistory();
    browser_->setPlainText(QString::fromStdString(message.text));
    updateTitle();
    bringUp();
}

} // namespace corvane::app
