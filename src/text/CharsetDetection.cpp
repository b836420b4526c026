#include "text/CharsetDetection.h"

#include "text/TextCodec.h"
#include "vbruntime/CaseFold.h"

#include <memory>
#include <uchardet.h>

namespace corvane {

namespace {

struct CharsetCodePage {
    const char* charset;
    int codePage;
};

// uchardet's names, by the Windows code page of the same language's text.
constexpr CharsetCodePage CharsetCodePages[] = {
    {"WINDOWS-1252", 1252},   {"ISO-8859-1", 1252},       {"ISO-8859-15", 1252},  {"ASCII", 1252},
    {"WINDOWS-1250", 1250},   {"ISO-8859-2", 1250},       {"ISO-8859-16", 1250},
    {"WINDOWS-1251", 1251},   {"ISO-8859-5", 1251},       {"KOI8-R", 1251},       {"KOI8-U", 1251},
    {"IBM855", 1251},         {"IBM866", 1251},           {"MAC-CYRILLIC", 1251},
    {"WINDOWS-1253", 1253},   {"ISO-8859-7", 1253},
    {"WINDOWS-1254", 1254},   {"ISO-8859-9", 1254},
    {"WINDOWS-1255", 1255},   {"ISO-8859-8", 1255},
    {"WINDOWS-1256", 1256},   {"ISO-8859-6", 1256},
    {"WINDOWS-1257", 1257},   {"ISO-8859-13", 1257},      {"ISO-8859-4", 1257},
    {"WINDOWS-1258", 1258},   {"VISCII", 1258},
    {"TIS-620", 874},         {"ISO-8859-11", 874},       {"WINDOWS-874", 874},
    {"SHIFT_JIS", 932},       {"EUC-JP", 932},            {"ISO-2022-JP", 932},
    {"GB18030", 936},         {"GB2312", 936},            {"HZ-GB-2312", 936},    {"ISO-2022-CN", 936},
    {"UHC", 949},             {"EUC-KR", 949},            {"ISO-2022-KR", 949},   {"JOHAB", 949},
    {"BIG5", 950},            {"EUC-TW", 950},
    {"UTF-8", Utf8CodePage},
};

struct DetectorDeleter {
    void operator()(uchardet* detector) const { uchardet_delete(detector); }
};

} // namespace

std::string detectCharset(std::string_view bytes) {
    std::unique_ptr<uchardet, DetectorDeleter> detector(uchardet_new());
    if (!detector)
        return {};
    if (uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0)
        return {};
    uchardet_data_end(detector.get());
    const char* charset = uchardet_get_charset(detector.get());
    return charset ? std::string(charset) : std::string();
}

std::optional<int> windowsCodePageOfCharset(std::string_view charset) {
    for (const CharsetCodePage& entry : CharsetCodePages)
        if (equalsIgnoreCase(charset, entry.charset))
            return entry.codePage;
    return std::nullopt;
}

} // namespace corvane
