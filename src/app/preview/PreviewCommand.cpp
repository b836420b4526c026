#include "app/preview/PreviewCommand.h"

#include "app/preview/CoverageIndex.h"
#include "app/preview/SketchPainter.h"
#include "cli/CodePageOption.h"
#include "cli/HeadlessSession.h"
#include "cli/OutputTarget.h"
#include "editor/FrmWizard.h"
#include "files/OutputFile.h"
#include "preview/SketchBuilder.h"
#include "settings/ModMain.h"
#include "vbide/VBProject.h"
#include "vbruntime/VbError.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <iostream>
#include <memory>
#include <optional>

namespace corvane::app {

namespace {

struct PreviewOptions {
    std::string project;
    std::optional<int> codePage; // --codepage
    std::string module;
    std::string output;
    std::optional<std::string> language;
};

bool parseOptions(const std::vector<std::string>& arguments, PreviewOptions& options) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (argument == "--module" && hasValue && options.module.empty())
            options.module = arguments[++i];
        else if ((argument == "-o" || argument == "--output") && hasValue && options.output.empty())
            options.output = arguments[++i];
        else if (argument == "--language" && hasValue && !options.language)
            options.language = arguments[++i];
        else if (!argument.empty() && argument[0] != '-' && options.project.empty())
            options.project = argument;
        else {
            std::cerr << "corvane preview: unexpected argument '" << argument << "'\n";
            return false;
        }
    }
    if (options.project.empty() || options.module.empty() || options.output.empty()) {
        std::cerr << "Usage: corvane preview PROJECT.vbp --module NAME -o FILE.png [--language L]\n";
        return false;
    }
    return true;
}

bool isVisual(int type) { return type >= 5 && type <= 9; }

std::shared_ptr<vbide::VBComponent> findModule(vbide::VBProject& project, const std::string& name) {
    if (!project.VBComponents().Contains(name))
        return nullptr;
    auto component = project.VBComponents().Item(name);
    return isVisual(component->Type()) ? component : nullptr;
}

std::string moduleNames(vbide::VBProject& project) {
    std::string names;
    for (const auto& component : project.VBComponents())
        if (isVisual(component->Type()))
            names += (names.empty() ? "" : ", ") + component->Name();
    return names;
}

// Draws the picture (a Qt application must exist) and writes it as a whole new file in place of
// the old one (OutputFile.h); the reason when it cannot be written, else "".
std::string writePicture(const preview::FormSketch& sketch, const CoverageIndex& coverage, const std::string& file) {
    SketchPaintOptions options;
    options.language = coverage.language();
    options.coverage = [&coverage](const preview::SketchItem& item) { return coverage.coverageOf(item); };
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!renderSketch(sketch, options).save(&buffer, "PNG"))
        return "the picture could not be made";
    try {
        writeOutputFile(file, [&](std::ostream& out) { out.write(png.constData(), png.size()); });
    } catch (const VbError& error) {
        return error.description();
    }
    return {};
}

} // namespace

int runPreview(int& argc, char** argv, const std::vector<std::string>& arguments) {
    PreviewOptions options;
    std::vector<std::string> rest = arguments;
    if (!cli::takeCodePageOption(rest, options.codePage, "preview", std::cerr) || !parseOptions(rest, options))
        return 2;
    cli::HeadlessSession session(std::cout, std::cerr, false, cli::SessionWrites::Nothing);
    bool opened = session.open(options.project, options.codePage);
    for (const auto& message : session.windows().messages())
        std::cerr << "[" << message.title << "] " << message.prompt << "\n";
    FrmWizard* editor = session.editor();
    if (!opened || !editor || !editor->formsData())
        return 2;
    if (std::string clash = cli::projectFileAt(options.output, *session.project(), editor->helpDataFile().path());
        !clash.empty()) {
        std::cerr << "corvane preview: -o " << options.output << " is " << clash
                  << "; a picture never replaces a file of the project; nothing was written\n";
        return 2;
    }
    if (std::string unfit = cli::unfitOutput(options.output, *session.project(), editor->helpDataFile().path());
        !unfit.empty()) {
        std::cerr << "corvane preview: -o " << options.output << " is " << unfit << "; nothing was written\n";
        return 2;
    }
    auto component = findModule(*session.project(), options.module);
    if (!component) {
        std::cerr << "corvane preview: the project has no form or user control named '" << options.module
                  << "'; it has " << moduleNames(*session.project()) << "\n";
        return 2;
    }
    const NameList& languages = *session.addin().modMain().SelectedLanguages;
    std::string language = options.language.value_or(session.addin().modMain().mCurrentLanguage);
    if (options.language && !languages.Contains(language)) {
        std::cerr << "corvane preview: unknown language '" << language << "'\n";
        return 2;
    }
    const ModuleRecords& modules = *editor->formsData();
    const HelpItems* records = modules.Contains(component->Name()) ? modules.Item(component->Name()).get() : nullptr;
    CoverageIndex coverage(records, language);
    preview::FormSketch sketch = preview::SketchBuilder(session.project().get()).build(*component);

    std::unique_ptr<QGuiApplication> application;
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen"); // drawing into an image needs no display
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (std::string problem = writePicture(sketch, coverage, options.output); !problem.empty()) {
        std::cerr << "corvane preview: " << problem << "\n";
        return 1;
    }
    for (const preview::Oddity& oddity : sketch.oddities)
        std::cout << "Odd geometry: " << oddity.key << ": " << oddity.problem << "\n";
    if (!sketch.unreadable.empty()) {
        std::cerr << "corvane preview: " << sketch.unreadable << "\n";
        return 1;
    }
    return 0;
}

} // namespace corvane::app
