#include "registry/RegFile.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

constexpr std::string_view Halvex = "HKEY_CURRENT_USER\\Software\\Halvex";

std::string errorOf(std::string_view text) {
    try {
        parseRegistryText(text, "/cfg/registry.reg");
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 75);
        return error.description();
    }
    return "no error";
}

TEST(RegistryFile, WritesTheExactRegeditText) {
    RegistryModel model;
    model.setString("HKEY_CURRENT_USER\\Software\\Halvex", "CorvaneSplitMain", "2400");
    model.setString("HKEY_CURRENT_USER\\Software\\Halvex\\Corvane", "SpellType", "1");
    model.setString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file\\shell\\open\\command", "",
                    "\"c:\\tools\\hhw.exe\" %1");
    model.setString("HKEY_CURRENT_USER\\Software\\Halvex", "Odd \"name\"", "a\\b\r\nc\td\x01");
    model.createKey("HKEY_CURRENT_USER\\Software\\Halvex\\Empty");
    const std::string expected =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Halvex]\r\n"
        "\"CorvaneSplitMain\"=\"2400\"\r\n"
        "\"Odd \\\"name\\\"\"=\"a\\\\b\\r\\nc\td\\x01\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Halvex\\Corvane]\r\n"
        "\"SpellType\"=\"1\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Halvex\\Empty]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file\\shell]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file\\shell\\open]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hhp.file\\shell\\open\\command]\r\n"
        "@=\"\\\"c:\\\\tools\\\\hhw.exe\\\" %1\"\r\n\r\n";
    EXPECT_EQ(registryText(model), expected);
    std::ostringstream stream;
    writeRegistryText(stream, model);
    EXPECT_EQ(stream.str(), expected);
}

TEST(RegistryFile, AwkwardTextsReadBackExactly) {
    const std::vector<std::string> texts{
        "", " lead and trail ", "quote \" and \\ backslash \\\"", "CR LF\r\nLF\nCR\r",
        std::string("nul\0inside", 10), "\x7F\x1B\t", "ümlaut € 漢字", "\\", "\"", "=",
        "[not a key]", ";not a comment", "ends with backslash\\"};
    RegistryModel model;
    for (size_t i = 0; i < texts.size(); ++i) {
        model.setString(Halvex, texts[i], "value " + std::to_string(i));
        model.setString(std::string(Halvex) + "\\Values", "v" + std::to_string(i), texts[i]);
    }
    std::istringstream in(registryText(model));
    RegistryModel back = readRegistryText(in, "memory");
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(back.getString(Halvex, texts[i]), "value " + std::to_string(i)) << i;
        EXPECT_EQ(back.getString(std::string(Halvex) + "\\Values", "v" + std::to_string(i)),
                  texts[i]) << i;
    }
    EXPECT_EQ(registryText(back), registryText(model));
}

TEST(RegistryFile, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    RegistryModel model;
    model.setString("HKEY_CURRENT_USER\\Software\\Halvex\\Corvane", "SpellType", "1");
    EXPECT_FALSE(model.setString("hkey_current_user\\SOFTWARE\\HALVEX\\corvane", "spelltype", "1"));
    EXPECT_TRUE(model.setString("hkey_current_user\\SOFTWARE\\HALVEX\\corvane", "spelltype", "2"));
    EXPECT_EQ(model.getString("HKEY_CURRENT_USER\\software\\halvex\\CORVANE", "SPELLTYPE"), "2");
    // Latin-1 letters fold too.
    model.setString(Halvex, "Größe", "x");
    EXPECT_EQ(model.getString(Halvex, "GRÖßE"), "x");
    EXPECT_EQ(registryText(model),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Halvex]\r\n\"Größe\"=\"x\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Halvex\\Corvane]\r\n\"SpellType\"=\"2\"\r\n\r\n");
}

TEST(RegistryFile, ReadsRegeditExportsAndKeepsOtherTypesUnchanged) {
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "; exported by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hpjfiletype\\shell\\open\\command]\r\n"
        "@=hex(2):22,00,43,00,3a,00,5c,00,68,00,63,00,77,00,2e,00,65,00,78,00,65,00,22,\\\r\n"
        "  00,20,00,25,00,31,00,00,00\r\n"
        "\"Flags\"=dword:0000000a\r\n"
        "\"Blob\"=hex:01,ff\r\n\r\n"
        "[hkey_current_user\\Software]\r\n"
        "\"Plain\" = \"spaced\"   \r\n";
    RegistryModel model = parseRegistryText(text, "x.reg");
    const std::string command = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\hpjfiletype\\shell\\open\\command";
    EXPECT_EQ(model.getString(command, ""), "\"C:\\hcw.exe\" %1");
    EXPECT_EQ(model.getString(command, "flags"), "10");
    EXPECT_EQ(model.getString(command, "Blob"), "");
    EXPECT_EQ(model.getString("HKEY_CURRENT_USER\\Software", "Plain"), "spaced");
    std::string written = registryText(model);
    EXPECT_NE(written.find("@=hex(2):22,00,43,00,3a,00,5c,00,68,00,63,00,77,00,2e,00,65,00,78,00,"
                           "65,00,22,\\\r\n  00,20,00,25,00,31,00,00,00\r\n\"Flags\"=dword:0000000a\r\n"
                           "\"Blob\"=hex:01,ff\r\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("[HKEY_CURRENT_USER\\Software]\r\n"), std::string::npos);

    // regedit itself writes UTF-16 LE with a BOM; a UTF-8 BOM and LF line ends are fine too.
    std::u16string wide = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"K\"=\"\u00e9\u20ac\"\r\n";
    std::string utf16("\xFF\xFE");
    for (char16_t unit : wide) {
        utf16.push_back(static_cast<char>(unit & 0xFF));
        utf16.push_back(static_cast<char>(unit >> 8));
    }
    EXPECT_EQ(parseRegistryText(utf16, "w.reg").getString("HKEY_CURRENT_USER\\Software", "k"), "é€");
    EXPECT_EQ(parseRegistryText("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKEY_USERS\\x]\n@=\"d\"",
                                "u.reg").getString("HKEY_USERS\\x", ""),
              "d");
}

TEST(RegistryFile, MalformedTextsNameTheFileTheLineAndTheFault) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
    const std::string key = "[HKEY_CURRENT_USER\\Software]\r\n";
    const std::string prefix = "Malformed registry file '/cfg/registry.reg', line ";
    EXPECT_EQ(errorOf(""), prefix + "1: the first line is not \"Windows Registry Editor Version 5.00\"");
    EXPECT_EQ(errorOf("REGEDIT4\r\n"), prefix + "1: the first line is not \"Windows Registry Editor Version 5.00\"");
    EXPECT_EQ(errorOf(header + key + "\"a\"=\"open\r\n"), prefix + "4: unterminated quote");
    EXPECT_EQ(errorOf(header + key + "\"a=\"x\"\r\n"), prefix + "4: \"=\" expected after the value name");
    EXPECT_EQ(errorOf(header + "\"a\"=\"x\"\r\n"), prefix + "3: a value before the first [key]");
    EXPECT_EQ(errorOf(header + key + "junk\r\n"),
              prefix + "4: unexpected text (neither a [key] nor a \"name\"=value)");
    EXPECT_EQ(errorOf(header + "[HKEY_CURRENT_USER\\Software\r\n"),
              prefix + "3: the key name does not end with \"]\"");
    EXPECT_EQ(errorOf(header + "[HKEY_NOWHERE\\Software]\r\n"),
              prefix + "3: invalid key name \"HKEY_NOWHERE\\Software\"");
    EXPECT_EQ(errorOf(header + "[HKEY_CURRENT_USER\\\\x]\r\n"),
              prefix + "3: invalid key name \"HKEY_CURRENT_USER\\\\x\"");
    EXPECT_EQ(errorOf(header + "[-HKEY_CURRENT_USER\\x]\r\n"), prefix + "3: deleting a key is not supported");
    EXPECT_EQ(errorOf(header + key + "\"a\"=-\r\n"), prefix + "4: deleting a value is not supported");
    EXPECT_EQ(errorOf(header + key + "\"a\"=\"x\" y\r\n"), prefix + "4: text after the closing quote");
    EXPECT_EQ(errorOf(header + key + "\"a\"=\"\\q\"\r\n"), prefix + "4: unknown escape \"\\q\"");
    EXPECT_EQ(errorOf(header + key + "\"a\"=\"\\x4\"\r\n"),
              prefix + "4: \"\\x\" must be followed by two hex digits");
    EXPECT_EQ(errorOf(header + key + "\"a\"=dword:1\r\n"),
              prefix + "4: invalid dword value (8 hex digits expected)");
    EXPECT_EQ(errorOf(header + key + "\"a\"=hex:01,\\\r\n  0g\r\n"), prefix + "4: invalid hex value");
    EXPECT_EQ(errorOf(header + key + "\"a\"=hex:01,\\\r\n"),
              prefix + "4: the value continues past the end of the file");
    EXPECT_EQ(errorOf(header + key + "\"a\"=text\r\n"), prefix + "4: unknown value type");
}

TEST(RegistryFile, InvalidKeyPathsAreRejected) {
    RegistryModel model;
    for (std::string_view path : {"HKEY_CURRENT_USER\\", "HKEY_CURRENT_USER\\\\Software", "Software",
                                  "HKEY_CURRENT_USER\\a\nb", ""}) {
        try {
            model.createKey(path);
            ADD_FAILURE() << "accepted " << path;
        } catch (const VbError& error) {
            EXPECT_EQ(error.number(), 5);
            EXPECT_EQ(error.description(), "Invalid registry key path '" + std::string(path) + "'");
        }
    }
    std::string deep = "HKEY_CURRENT_USER";
    for (int i = 0; i < 511; ++i)
        deep += "\\k";
    EXPECT_NO_THROW(model.createKey(deep));
    EXPECT_THROW(model.createKey(deep + "\\k"), VbError);
    EXPECT_TRUE(model.roots().Count() == 1);
}

} // namespace
} // namespace corvane
