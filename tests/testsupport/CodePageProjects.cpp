#include "testsupport/CodePageProjects.h"

#include "platform/CodePageConverter.h"
#include "platform/Utf8Path.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace corvane::test {

namespace fs = std::filesystem;

namespace {

CodePageProject sample(int codePage, std::string iconvName, std::string language, std::string projectName,
                       std::vector<std::string> texts, std::string comment) {
    CodePageProject project;
    project.codePage = codePage;
    project.iconvName = std::move(iconvName);
    project.language = std::move(language);
    project.projectName = std::move(projectName);
    project.formCaption = texts.at(0);
    project.openCaption = texts.at(1);
    project.cancelCaption = texts.at(2);
    project.cancelName = "cmdCancel";
    project.labelCaption = texts.at(3);
    project.listEntries = {texts.at(4), texts.at(5)};
    project.comment = std::move(comment);
    return project;
}

std::string crlf(const std::string& text) { return replaceEvery(text, "\n", "\r\n"); }

std::string u16(size_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

// The .frx file: the list box's entries at 0 (count, longest length, each with its length),
// then the label's caption (one-byte length).
std::string frxFile(const std::vector<std::string>& entries, const std::string& caption, size_t& captionOffset) {
    size_t longest = 3;
    for (const std::string& entry : entries)
        longest = std::max(longest, entry.size());
    std::string frx = u16(entries.size()) + u16(longest);
    for (const std::string& entry : entries)
        frx += u16(entry.size()) + entry;
    captionOffset = frx.size();
    frx += static_cast<char>(caption.size());
    return frx + caption;
}

std::string hex4(size_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
    return text;
}

} // namespace

const std::vector<CodePageProject>& codePageProjects() {
    static const std::vector<CodePageProject> projects = {
        sample(874, "CP874", "Thai", "ใบสั่งซื้อ",
               {"ใบสั่งซื้อ", "เปิด...", "ยกเลิก", "ที่อยู่ลูกค้า", "สินค้า", "บริการ"}, "โหลดข้อมูลลูกค้า"),
        sample(932, "CP932", "Japanese", "受注管理",
               {"受注入力", "開く(&O)...", "取消(&X)", "顧客の住所", "商品", "サービス"}, "顧客データを読み込む"),
        sample(936, "GBK", "Chinese (Simplified)", "订单管理",
               {"订单输入", "打开(&O)...", "取消(&X)", "客户地址", "商品", "服务"}, "读取客户数据"),
        sample(949, "CP949", "Korean", "주문관리",
               {"주문 입력", "열기(&O)...", "취소(&X)", "고객 주소", "상품", "서비스"}, "고객 데이터를 읽습니다"),
        sample(950, "CP950", "Chinese (Traditional)", "訂單管理",
               {"訂單輸入", "開啟(&O)...", "取消(&X)", "客戶地址", "商品", "服務"}, "讀取客戶資料"),
        sample(1250, "CP1250", "Czech", "Objednávky",
               {"Zadání objednávky", "Otevřít...", "Zrušit", "Adresa zákazníka", "Zboží", "Služby"},
               "Načte data zákazníka z databáze"),
        sample(1251, "CP1251", "Russian", "Заказы",
               {"Ввод заказа", "Открыть...", "Отмена", "Адрес клиента", "Товары", "Услуги"}, "Загрузить данные клиента"),
        sample(1253, "CP1253", "Greek", "Παραγγελίες",
               {"Καταχώριση παραγγελίας", "Άνοιγμα...", "Άκυρο", "Διεύθυνση πελάτη", "Προϊόντα", "Υπηρεσίες"},
               "Φόρτωση δεδομένων πελάτη"),
        sample(1254, "CP1254", "Turkish", "Siparişler",
               {"Sipariş girişi", "Aç...", "İptal", "Müşteri adresi", "Ürünler", "Hizmetler"},
               "Müşteri verilerini yükle"),
        sample(1255, "CP1255", "Hebrew", "הזמנות",
               {"הזנת הזמנה", "פתח...", "ביטול", "כתובת לקוח", "מוצרים", "שירותים"}, "טען נתוני לקוח"),
        sample(1256, "CP1256", "Arabic", "الطلبات",
               {"إدخال الطلب", "فتح...", "إلغاء", "عنوان العميل", "المنتجات", "الخدمات"}, "تحميل بيانات العميل"),
        sample(1257, "CP1257", "Lithuanian", "Užsakymai",
               {"Užsakymo įvedimas", "Atidaryti...", "Atšaukti", "Kliento adresas", "Prekės", "Paslaugos"},
               "Įkelti kliento duomenis"),
        sample(1258, "CP1258", "Vietnamese", "Đơn hàng",
               {"Nhập đơn hàng", "Mở...", "Hủy bỏ", "Địa chỉ khách hàng", "Sản phẩm", "Dịch vụ"},
               "Tải dữ liệu khách hàng"),
    };
    return projects;
}

const CodePageProject& doubleByteNamesProject() {
    // 表, ソ, 能 and 申 are double-byte characters of code page 932 whose second byte is 0x5C.
    static const CodePageProject project = [] {
        CodePageProject names = sample(932, "CP932", "Japanese", "ソフト表",
                                       {"申込表", "開く(&O)...", "取消(&X)", "能力表の住所", "表計算", "ソフト"},
                                       "表の能力を申し込む");
        names.cancelName = "cmd取消表";
        return names;
    }();
    return project;
}

std::string encodedWithIconv(const std::string& utf8, const std::string& iconvName) {
    if (fs::path::preferred_separator != '/') {
        // Windows has no iconv program: the system's own code pages encode instead, which the
        // program reaches only through its converter's decoding direction.
        auto converter = platform::CodePageConverter::open(iconvName, "UTF-8");
        std::string encoded;
        EXPECT_TRUE(converter && converter->convert(utf8, encoded)) << iconvName;
        return encoded;
    }
    TempDir dir;
    writeFile(dir / "utf8.txt", utf8);
    ToolRun run = runShell("iconv -f UTF-8 -t " + iconvName + " " + shellQuoted((dir / "utf8.txt").string()) + " > " +
                           shellQuoted((dir / "encoded.txt").string()));
    EXPECT_EQ(run.status, 0) << run.output;
    return readFile(dir / "encoded.txt");
}

std::vector<std::pair<std::string, std::string>> codePageProjectFiles(const CodePageProject& project) {
    // The .frx texts in one conversion, a line each (no code page here has 0x0A in a character).
    std::string frxTexts = project.listEntries.at(0) + "\n" + project.listEntries.at(1) + "\n" + project.labelCaption;
    std::string encoded = encodedWithIconv(frxTexts, project.iconvName);
    size_t first = encoded.find('\n');
    size_t second = encoded.find('\n', first + 1);
    size_t captionOffset = 0;
    std::string frx = frxFile({encoded.substr(0, first), encoded.substr(first + 1, second - first - 1)},
                              encoded.substr(second + 1), captionOffset);

    std::string vbp = "Type=Exe\nForm=frmMain.frm\nModule=modMain; modMain.bas\nStartup=\"frmMain\"\n"
                      "Title=\"" + project.projectName + "\"\nName=\"" + project.projectName + "\"\n"
                      "MajorVer=1\nMinorVer=0\n";
    std::string form =
        "VERSION 5.00\n"
        "Begin VB.Form frmMain\n"
        "   Caption         =   \"" + project.formCaption + "\"\n"
        "   ClientHeight    =   3000\n"
        "   ClientWidth     =   4800\n"
        "   ScaleHeight     =   3000\n"
        "   ScaleWidth      =   4800\n"
        "   Begin VB.ListBox lstItems\n"
        "      Height          =   900\n"
        "      Left            =   120\n"
        "      List            =   \"frmMain.frx\":0000\n"
        "      TabIndex        =   3\n"
        "      Top             =   1800\n"
        "      Width           =   2000\n"
        "   End\n"
        "   Begin VB.Label lblAddress\n"
        "      Caption         =   \"frmMain.frx\":" + hex4(captionOffset) + "\n"
        "      Height          =   255\n"
        "      Left            =   120\n"
        "      TabIndex        =   2\n"
        "      Top             =   1200\n"
        "      Width           =   3000\n"
        "   End\n"
        "   Begin VB.CommandButton " + project.cancelName + "\n"
        "      Caption         =   \"" + project.cancelCaption + "\"\n"
        "      Height          =   375\n"
        "      Left            =   1440\n"
        "      TabIndex        =   1\n"
        "      Top             =   120\n"
        "      Width           =   1215\n"
        "   End\n"
        "   Begin VB.CommandButton cmdOpen\n"
        "      Caption         =   \"" + project.openCaption + "\"\n"
        "      Height          =   375\n"
        "      Left            =   120\n"
        "      TabIndex        =   0\n"
        "      Top             =   120\n"
        "      Width           =   1215\n"
        "   End\n"
        "End\n"
        "Attribute VB_Name = \"frmMain\"\n"
        "Attribute VB_GlobalNameSpace = False\n"
        "Attribute VB_Creatable = False\n"
        "Attribute VB_PredeclaredId = True\n"
        "Attribute VB_Exposed = False\n"
        "Option Explicit\n"
        "\n"
        "Private Sub cmdOpen_Click()\n"
        "    ' " + project.comment + "\n"
        "    MsgBox \"" + project.cancelCaption + "\"\n"
        "End Sub\n";
    std::string module = "Attribute VB_Name = \"modMain\"\nOption Explicit\n' " + project.comment +
                         "\nPublic Const AppTitle = \"" + project.projectName + "\"\n";
    return {{"Project.vbp", encodedWithIconv(crlf(vbp), project.iconvName)},
            {"frmMain.frm", encodedWithIconv(crlf(form), project.iconvName)},
            {"frmMain.frx", frx},
            {"modMain.bas", encodedWithIconv(crlf(module), project.iconvName)}};
}

fs::path writeCodePageProject(const CodePageProject& project, const fs::path& folder) {
    fs::create_directories(folder);
    for (const auto& [name, bytes] : codePageProjectFiles(project))
        writeFile(folder / name, bytes);
    return folder / "Project.vbp";
}

const std::vector<FileNamesProject>& fileNamesProjects() {
    static const std::vector<FileNamesProject> projects = {
        {932, "CP932", "卓球.frm", "得点表.bas"},
        {936, "GBK", "乒乓球.frm", "计分.bas"},
        {950, "CP950", "桌球.frm", "計分.bas"},
        {1256, "CP1256", "تنس.frm", "النقاط.bas"},
    };
    return projects;
}

fs::path writeFileNamesProject(const FileNamesProject& project, const fs::path& folder) {
    fs::create_directories(folder);
    const std::string vbp = "Type=Exe\nForm=" + project.formFile + "\nModule=modGame; " + project.moduleFile +
                            "\nStartup=\"frmGame\"\nName=\"Game\"\n";
    writeFile(folder / "Game.vbp", encodedWithIconv(crlf(vbp), project.iconvName));
    writeFile(folder / platform::pathFromUtf8(project.formFile),
              crlf("VERSION 5.00\nBegin VB.Form frmGame\n   Caption         =   \"Game\"\n"
                   "   Begin VB.CommandButton cmdStart\n      Caption         =   \"Start\"\n   End\nEnd\n"
                   "Attribute VB_Name = \"frmGame\"\n"));
    writeFile(folder / platform::pathFromUtf8(project.moduleFile),
              crlf("Attribute VB_Name = \"modGame\"\nOption Explicit\n"));
    return folder / "Game.vbp";
}

} // namespace corvane::test
