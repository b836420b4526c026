// HelpDataFile: one project's help data file "ContextHelp.txt", loaded into help item records
// and saved from them, without any window. The editor window's loading and ExitApp use it, and
// so can commands that read or change the help text of a project (export, import, coverage).
//
// Use without a window:
//   HelpDataSettings settings;        // the project's settings; its SelectedLanguages is
//   settings.newSelectedLanguages();  // filled by loading and read by the records
//   HelpDataFile file(settings);
//   ModuleRecords forms;  NameList formNames;
//   file.load(HelpDataFile::locate(projectFile), forms, formNames);
//   if (!file.complete()) ... file.problemReport() says what was not taken, with lines
//   forms.Item("frmMain")->Item("txtName")->SetHelpText("English", "The customer's name");
//   file.save(forms, formNames);      // lock, backup when needed, atomic replace
//
// Loading never leads to a save that holds less than the file held:
// - A missing file is an empty document in memory; nothing is written until a save.
// - Everything that is not taken is a problem naming the line and the key: a file that cannot
//   be read or is not well-formed XML, text that is not in any known encoding, an element
//   without a required attribute, a context number out of range. The rest of the file is still
//   read: "SelectedLanguage" elements count wherever they stand. NUL bytes past the text's
//   start are left out (and named by line); the text around them is read.
// - A module or control key given twice (letter case ignored, as version-control merges produce
//   them) is a problem too, and read into the first: a module's records join the first
//   element's, a record with the same texts is loaded once, and one with other texts adds
//   those in languages the first lacks (the others stay in the copy the save makes).
// - After an incomplete load, the first save copies the bytes the file then holds beside it
//   ("ContextHelp.txt.damaged", ".damaged.2" ...; a copy of the same bytes is not made twice)
//   before it replaces the file, and refuses to replace a file it cannot copy.
// Both ways of reading load the same records: a file as the program writes it is read straight
// into records, on as many threads as there are cores, and every other file (or one whose
// records hold a problem) as a document.
// Saving goes through AtomicFile with the lock "ContextHelp.txt.lock" (git's lockfile
// discipline): concurrent saves never mix, a read-only file is not replaced, a link is written
// through. Failures are VbError 75 naming the file and the reason; the file then holds its old
// or its new bytes.
// A save replaces only the version of the file it read (FileVersion): under the lock it checks
// the file on disk, and when another program saved it meanwhile it loads that version and
// applies this program's changes onto it (HelpDataMerge) before writing. Texts both changed
// differently stop the save (HelpDataConflictError) unless the caller chose a side; nothing is
// written then. After a save the version written is the one the next save compares with.
#pragma once

#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "files/FileStamp.h"
#include "files/FileVersion.h"
#include "helpdata/HelpDataMerge.h"
#include "helpdata/HelpDataShape.h"
#include "helpdata/HelpItem.h"
#include "helpdata/PlainHelpData.h"
#include "text/LineCounter.h"
#include "vbruntime/KeyedCollection.h"
#include "vbruntime/VbError.h"
#include "xml/XMLDocument.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class OutputBuffer;

// Something of the file that loading did not take.
struct HelpDataProblem {
    int line = 0;     // 1-based line of the file (0: the whole file)
    std::string what; // what is wrong and what became of it
    // False where nothing written in the file is left out (a letter case read past, a record
    // listed twice with the same texts, an empty element Corvane does not write).
    bool losesText = true;
};

// A save that found texts changed both by another program and here: nothing was written.
class HelpDataConflictError : public VbError {
public:
    HelpDataConflictError(const std::filesystem::path& file, std::vector<MergeConflict> conflicts);
    // The texts and context numbers in conflict, in file order.
    const std::vector<MergeConflict>& conflicts() const noexcept { return conflicts_; }

private:
    std::vector<MergeConflict> conflicts_;
};

// What loading the version another program saved brought into the records.
struct ReloadOutcome {
    int takenTexts = 0;                  // texts of the other version taken
    std::vector<MergeConflict> kept;     // texts changed there and here: this program's kept
    std::vector<MergeConflict> taken;    // where the texts taken are
};

class HelpDataFile {
public:
    // The data file's name as the program writes it.
    static constexpr std::string_view FileName = "ContextHelp.txt";

    // A file of the project whose settings are `settings` (which outlives it).
    explicit HelpDataFile(HelpDataSettings& settings);

    // True when a file name is the data file's, letter case ignored.
    static bool isDataFileName(std::string_view fileName);
    // The data file in the project file's folder: an existing entry whose name differs only in
    // letter case, else the folder + "ContextHelp.txt".
    static std::filesystem::path locate(const std::filesystem::path& projectFile);

    // What a read is for: the records (readRecords), or the document itself (readDocument).
    enum class ReadFor { Records, Document };
    // Reads the file at `path` (nothing is written; a missing file reads as new). For the
    // records, a file in the form the program writes is read straight into them
    // (PlainHelpData); any other file, and every file read for its document, is parsed as a
    // document, which names what it cannot take.
    void read(const std::filesystem::path& path, ReadFor purpose = ReadFor::Records);
    // The code page in which a file that declares no encoding and is not UTF-8 is read, unless
    // its root names one ("CodePage"): the project's. Windows-1252 when not set.
    void setAnsiCodePage(int codePage) noexcept { ansiCodePage_ = codePage; }
    // The code page the file read last was read in as a whole, when not UTF-8 nor UTF-16 nor
    // Windows-1252; the next save writes UTF-8 and first keeps the file as it was beside it
    // ("<file>.cp932" for code page 932).
    std::optional<int> readInCodePage() const noexcept { return readInCodePage_; }
    // The file read last.
    const std::filesystem::path& path() const noexcept { return path_; }
    // True when the file existed when it was read.
    bool existed() const noexcept { return existed_; }
    // True when the document has no child element: a new project (its attributes do not count).
    bool isNew() const;
    // The document read, shared (changes to it are changes to this file's document); empty once
    // readRecords has freed it. A file in the plain form is parsed into one here.
    XMLDocument readDocument();
    // Sets the four output flags and the current and primary language from the root's
    // attributes; an absent attribute leaves its setting; an empty current language is "Neutral".
    void readSettings();
    // Adds the name of every "SelectedLanguage" element to SelectedLanguages (first spelling wins).
    void readSelectedLanguages();
    // Adds a collection of records to `forms` (and the name to `formNames`) for every
    // "VBComponent" element, with a record per child element; what cannot be taken is a problem.
    // The last step of a load: the file's bytes and their document are freed after it.
    void readRecords(ModuleRecords& forms, NameList& formNames);
    // read(), then the settings, languages and records (a new file: "Neutral" only).
    void load(const std::filesystem::path& path, ModuleRecords& forms, NameList& formNames);
    // Takes the settings as they now stand as the file's: the end of a load (load() does it).
    void takeSettingsAsStored();

    // True when the file on disk is no longer the version read or last saved (another program
    // saved it, or removed it).
    bool changedOnDisk() const;
    // Loads the version another program saved and takes its changes into the records (and the
    // settings), keeping this program's own where both changed a text; that version becomes the
    // one the next save compares with. The file is only read.
    ReloadOutcome reload(ModuleRecords& forms, NameList& formNames);

    // What loading did not take, in file order.
    const std::vector<HelpDataProblem>& problems() const noexcept { return problems_; }
    // True when the load took everything the file held.
    bool complete() const noexcept { return problems_.empty(); }
    // True when some problem leaves out text or a number the file holds: a save would hold less
    // than the file (its bytes are still kept beside it first).
    bool losesText() const noexcept;
    // The problems as one message naming the file, each with its line.
    std::string problemReport() const;
    // Where the next save keeps the file's bytes (an existing copy of the same bytes, or the
    // first free "<file>.damaged", "<file>.damaged.2" ..., "<file>.cp932" ... for a file read
    // in an ANSI code page); empty when no copy is needed.
    std::filesystem::path backupPath() const;

    // The document of the help data: the root with the settings, one "SelectedLanguage" per
    // selected language, one "VBComponent" per module with a "HelpItem" per record. A save
    // writes the same bytes without building it (HelpDataWriter).
    XMLDocument document(const ModuleRecords& forms, const NameList& formNames) const;
    // Writes the records to `target` (the file read when empty): the lock, the copy of an
    // incompletely loaded file, then the text rendered straight into a temporary file that
    // replaces the file. A file that already holds these bytes is left as it is (its time
    // too). VbError 75 on failure. `holding`: the version of the file that a comparison made
    // earlier found holding these bytes (DataFileCheckAhead); trusted while it is still in place.
    // When another program saved the file since it was read, this program's changes are applied
    // onto that version first (the records then hold the merged data); `resolution` says what
    // becomes of texts both changed (Refuse: HelpDataConflictError, nothing written).
    void save(ModuleRecords& forms, NameList& formNames, const std::filesystem::path& target = {},
              std::optional<FileStamp> holding = {}, MergeResolution resolution = MergeResolution::Refuse);
    // Writes a document that was read from the file and changed in place (an import): the same
    // lock, copy and atomic replace as save(); a file that already holds its bytes stays as it is.
    // `beforeReplace` runs under the lock just before the file is replaced; it may throw to
    // refuse the save (an import that finds the file changed since it read it).
    void write(const XMLDocument& document, const std::filesystem::path& target = {},
               const std::function<void()>& beforeReplace = {});
    // How long a save waits for the lock of another save before it fails.
    void setLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }

private:
    // The bytes of the version read (version_), in memory an XML document can own.
    FileBuffer readVersionBytes() const;
    // Takes the bytes when they are in the plain form; false leaves them to the caller.
    bool readPlain(FileBuffer& buffer);
    // Reads the version read (a large file) into records when it is in the plain form, a piece
    // at a time; false, with nothing kept, when it is not or it changed while it was read.
    bool readPlainInPieces();
    std::optional<std::string> rootAttribute(const char* name) const;
    void parseKeptBytes();
    void releaseSource();
    void readDecoded(std::string bytes);
    void readSalvaged(const XmlParseError& error);
    void checkShape();
    void addReplacedBytesProblem(const std::vector<size_t>& offsets);
    // Leaves out the NUL bytes of text_ from `first` on, naming the lines that held them.
    void dropNulBytes(size_t first);
    // "line 8 holds" or "lines 8, 9 ... and 4 more hold": the lines of text_ with the bytes at
    // `offsets` (rising).
    std::string linesHolding(const std::vector<size_t>& offsets) const;
    // `offset`: where the element that is not taken starts in the parsed text.
    void addProblem(std::ptrdiff_t offset, std::string what, bool losesText = true);
    struct ModuleToRead; // one "VBComponent" element: its records and what was not taken
    ModuleToRead takeModule(pugi::xml_node element, ModuleRecords& forms, NameList& formNames);
    void readModuleRecords(ModuleToRead& module) const;
    void readRecord(pugi::xml_node element, ModuleToRead& module) const;
    void commitTo(const std::filesystem::path& target,
                  const std::function<void(OutputBuffer& out)>& produce,
                  const std::function<void()>& beforeReplace = {}, AtomicFile::ContentCheck quickCheck = {},
                  const std::function<void()>& afterReplace = {});
    bool isFileRead(const std::filesystem::path& file) const;
    // What a merge with another program's version does: it sees that version's file and the
    // merge compared, may throw to leave everything as it was, and says how to resolve.
    using MergeDecision = std::function<MergeResolution(HelpDataFile& theirs, const HelpDataMerge& merge)>;
    // Loads another program's version of `file` and merges it into the records as `decide` says;
    // that version becomes the one a save replaces.
    void mergeVersionOf(const std::filesystem::path& file, ModuleRecords& forms, NameList& formNames,
                        const MergeDecision& decide);
    // Under the save's lock: another program's version of `file` merged into the records.
    bool catchUp(const std::filesystem::path& file, ModuleRecords& forms, NameList& formNames,
                 MergeResolution resolution);
    // The records as written become the file's.
    void markWritten(const std::filesystem::path& file, ModuleRecords& forms);
    void keepOriginal(const std::filesystem::path& target);
    void markSaved(const std::filesystem::path& file);

    HelpDataSettings& settings_;
    std::filesystem::path path_;
    // The version of the file read or last saved, held open (what a save may replace).
    FileVersion version_;
    // The settings as that version holds them.
    StoredSettings storedSettings_;
    bool existed_ = false;
    bool unreadable_ = false;
    bool originalKept_ = false; // the bytes of an incomplete load are safe (or replaced by a save)
    int ansiCodePage_ = 1252;
    std::optional<int> readInCodePage_;
    // True when the next save must first keep the file's bytes beside it.
    bool needsCopy() const noexcept { return !complete() || readInCodePage_.has_value(); }
    // The copy's suffix: ".damaged", or ".cp" and the code page the file was read in.
    std::string copySuffix() const;
    std::string text_;          // the decoded text, for line numbers (read when needed)
    XMLDocument document_;
    // A file in the plain form is read without a document: its bytes are kept for the records
    // (and parsed into document_ only when something needs the document).
    PlainHelpData plain_;
    bool plainRead_ = false;
    std::unique_ptr<char, void (*)(void*)> keptBytes_{nullptr, nullptr};
    size_t keptSize_ = 0;
    bool released_ = false;    // readRecords freed the document
    bool releasedNew_ = false; // isNew() of the freed document
    std::vector<HelpDataProblem> problems_;
    LineCounter lineCounter_{{}}; // the lines of text_ for the problems, counted on from the last
    // Where the document keeps its languages and modules (for a file read as a document).
    HelpDataShape shape_;
    std::chrono::milliseconds lockWait_{2000};
};

} // namespace corvane
