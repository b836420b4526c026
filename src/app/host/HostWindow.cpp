#include "app/host/HostWindow.h"

#include "app/views/AppIcons.h"
#include "app/views/ViewContext.h"
#include "controls/WindowSystem.h"
#include "registry/RegistryAccess.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"
#include "vbruntime/VbError.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTreeWidget>

#include <algorithm>

namespace corvane::app {

namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }

const QString HostTitle = QStringLiteral("Corvane - Project Host");

// A menu caption with an access key: its own "&" letter, or else the first of its letters that
// no other entry of the menu uses (`taken`, lower case, grows by the letter taken).
QString withFreeAccessKey(const QString& caption, QString& taken) {
    if (QKeySequence::mnemonic(caption).isEmpty())
        for (qsizetype i = 0; i < caption.size(); ++i)
            if (caption[i].isLetterOrNumber() && !taken.contains(caption[i].toLower())) {
                taken += caption[i].toLower();
                return QString(caption).insert(i, QLatin1Char('&'));
            }
    return caption;
}

} // namespace

int HostWindow::ask(const std::string& prompt, int style) {
    // Through the window system, which may answer without a user (tests, screenshots).
    if (controls::WindowSystem* windows = controls::WindowSystem::current())
        return windows->MsgBox(prompt, style, HostTitle.toStdString());
    QMessageBox::critical(this, HostTitle, text(prompt));
    return controls::vbOK;
}

HostWindow::HostWindow(std::shared_ptr<vbide::VBE> vbe, QWidget* parent)
    : QMainWindow(parent), vbe_(std::move(vbe)), tree_(new QTreeWidget) {
    setObjectName(QStringLiteral("HostWindow"));
    setWindowTitle(HostTitle);
    setWindowIcon(programIcon(101));
    tree_->setHeaderLabels({QStringLiteral("Component"), QStringLiteral("File")});
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setCentralWidget(tree_);
    buildMenus();
    refreshTree();
    resize(640, 420);
}

HostWindow::~HostWindow() = default;

void HostWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open Project..."), QKeySequence::Open, this, [this] { chooseProject(); });
    recent_ = file->addMenu(QStringLiteral("&Recent Projects"));
    saveAction_ = file->addAction(QStringLiteral("&Save Project"), QKeySequence::Save, this, [this] { saveProject(); });
    removeAction_ = file->addAction(QStringLiteral("Re&move Project"), this, [this] { removeProject(); });
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), QKeySequence::Quit, this, [this] { close(); });
    addIns_ = menuBar()->addMenu(QStringLiteral("&Add-Ins"));
    // The add-in adds and deletes its entry in the IDE model at any time: read it on opening.
    connect(addIns_, &QMenu::aboutToShow, this, [this] { refreshMenus(); });
    connect(recent_, &QMenu::aboutToShow, this, [this] { refreshMenus(); });
    refreshMenus();
}

void HostWindow::refreshMenus() {
    addIns_->clear();
    if (auto bar = vbe_->CommandBars("Add-Ins")) {
        QString taken;
        for (const auto& entry : bar->Controls())
            if (QKeySequence mnemonic = QKeySequence::mnemonic(text(entry->Caption())); !mnemonic.isEmpty())
                taken += QKeySequence(mnemonic[0].key()).toString().toLower();
        for (const auto& entry : bar->Controls()) {
            if (entry->BeginGroup())
                addIns_->addSeparator();
            QAction* action = addIns_->addAction(withFreeAccessKey(text(entry->Caption()), taken));
            if (auto face = entry->Face())
                action->setIcon(pictureIcon(*face));
            std::weak_ptr<vbide::CommandBarControl> weak = entry;
            const std::string caption = entry->Caption();
            connect(action, &QAction::triggered, this, [this, weak, caption] {
                if (showIdeTool(caption))
                    return;
                if (auto control = weak.lock()) {
                    ViewContext context;
                    context.act([&] { control->click(); });
                }
            });
        }
    }
    recent_->clear();
    for (const std::string& project : recentProjects())
        recent_->addAction(text(project), this, [this, project] { openProject(project); });
    recent_->setEnabled(!recent_->isEmpty());
}

bool HostWindow::clickAddIn(const std::string& captionStart) {
    auto bar = vbe_->CommandBars("Add-Ins");
    if (!bar)
        return false;
    for (const auto& entry : bar->Controls()) {
        if (entry->Caption().rfind(captionStart, 0) == 0) {
            ViewContext context;
            context.act([&] { entry->click(); });
            return true;
        }
    }
    return false;
}

// The IDE's own entries of the menu: the Add-In Manager lists the add-ins this host loads, and
// the Visual Data Manager, a database tool of the IDE, says that it is not part of this host.
// False for the entries that add-ins made.
bool HostWindow::showIdeTool(const std::string& caption) {
    const auto standard = vbide::VBE::standardAddInsMenu();
    if (caption == standard[0].caption) {
        std::string loaded;
        if (auto bar = vbe_->CommandBars("Add-Ins"))
            for (const auto& entry : bar->Controls())
                if (std::ranges::none_of(standard, [&](const vbide::MenuEntry& e) { return e.caption == entry->Caption(); }))
                    loaded += "\n  " + QString(text(entry->Caption())).remove(QLatin1Char('&')).toStdString();
        ask("Add-ins loaded in this host:" + (loaded.empty() ? std::string("\n  (none)") : loaded) +
                "\n\nThe host loads its add-ins when it starts and connects them to every project it opens; "
                "there is nothing to load or unload here.",
            controls::vbOKOnly | controls::vbInformation);
        return true;
    }
    if (caption == standard[1].caption) {
        ask("The Visual Data Manager is a database tool of the Visual Basic IDE. This host stands in for the IDE "
            "only as far as its add-ins need it, and has no Visual Data Manager.",
            controls::vbOKOnly | controls::vbInformation);
        return true;
    }
    return false;
}

void HostWindow::chooseProject() {
    QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Open Project"), QString(),
                                                QStringLiteral("Visual Basic projects (*.vbp);;All files (*)"));
    if (!file.isEmpty())
        openProject(file.toStdString());
}

bool HostWindow::openProject(const std::filesystem::path& file, std::optional<int> codePage) {
    try {
        vbe_->openProject(std::filesystem::absolute(file), codePage);
    } catch (const VbError& error) {
        ask(error.description(), controls::vbCritical);
        return false;
    }
    remember(std::filesystem::absolute(file).lexically_normal().string());
    refreshTree();
    return true;
}

bool HostWindow::saveProject() {
    auto project = vbe_->ActiveVBProject();
    if (!project)
        return true;
    try {
        int saved = project->save();
        statusBar()->showMessage(QStringLiteral("%1 file(s) saved.").arg(saved));
    } catch (const VbError& error) {
        ask(error.description(), controls::vbCritical);
        return false;
    }
    return true;
}

void HostWindow::removeProject() {
    auto project = vbe_->ActiveVBProject();
    if (!project)
        return;
    ViewContext context; // the add-in's ItemRemoved handler runs here
    context.act([&] { vbe_->removeProject(project); });
    refreshTree();
}

void HostWindow::refreshTree() {
    tree_->clear();
    for (const auto& project : vbe_->VBProjects()) {
        auto* top = new QTreeWidgetItem(tree_, {text(project->Name()), text(project->FileName())});
        top->setExpanded(true);
        if (project == vbe_->ActiveVBProject()) {
            QFont font = top->font(0);
            font.setBold(true);
            top->setFont(0, font);
        }
        for (const auto& component : project->VBComponents())
            new QTreeWidgetItem(top, {text(component->Name()), text(component->FileNames(1))});
    }
    tree_->expandAll();
    // The commands and the hint follow whether a project is open.
    bool open = vbe_->ActiveVBProject() != nullptr;
    // As the IDE's title names the project it works on.
    setWindowTitle(open ? text(vbe_->ActiveVBProject()->Name()) + QStringLiteral(" - ") + HostTitle : HostTitle);
    saveAction_->setEnabled(open);
    removeAction_->setEnabled(open);
    statusBar()->showMessage(open ? QStringLiteral("Pick the add-in's entry in the Add-Ins menu to edit the help text.")
                                  : QStringLiteral("Open a project, then pick the add-in's entry in the Add-Ins menu."));
}

std::vector<std::string> HostWindow::recentProjects() const {
    std::vector<std::string> projects;
    for (int i = 1; i <= RecentCount; ++i) {
        std::string value = registry().GetValue(RegistryRoot::CurrentUser, RecentKey, "Recent" + std::to_string(i));
        if (!value.empty())
            projects.push_back(value);
    }
    return projects;
}

void HostWindow::remember(const std::string& file) {
    std::vector<std::string> projects{file};
    for (const std::string& project : recentProjects())
        if (project != file && static_cast<int>(projects.size()) < RecentCount)
            projects.push_back(project);
    try {
        for (size_t i = 0; i < projects.size(); ++i)
            registry().SetValue(RegistryRoot::CurrentUser, RecentKey, "Recent" + std::to_string(i + 1), projects[i]);
    } catch (const VbError&) {
        // The list of recent projects is a convenience: a registry that cannot be written loses it.
    }
}

bool HostWindow::confirmUnsaved() {
    QStringList changed;
    for (const auto& project : vbe_->VBProjects())
        if (project->isDirty())
            changed << text(project->Name());
    if (changed.isEmpty())
        return true;
    int answer = ask("Save changes to the following projects?\n\n" + changed.join(QLatin1Char('\n')).toStdString(),
                     controls::vbYesNoCancel | controls::vbQuestion);
    if (answer == controls::vbCancel)
        return false;
    if (answer == controls::vbNo)
        return true;
    for (const auto& project : vbe_->VBProjects()) {
        try {
            if (project->isDirty())
                project->save();
        } catch (const VbError& error) {
            ask(error.description(), controls::vbCritical);
            return false;
        }
    }
    return true;
}

void HostWindow::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore(); // the guard closes the window again when it may
        return;
    }
    if (confirmUnsaved())
        event->accept();
    else
        event->ignore();
}

} // namespace corvane::app
