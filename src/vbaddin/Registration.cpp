#include "vbaddin/Registration.h"

#include "vbaddin/AddinModule.h"
#include "vbaddin/ProjectFileLines.h"

#include <vector>

namespace corvane::vbaddin {

namespace {

constexpr wchar_t addinsKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins";
constexpr wchar_t iniSection[] = L"Add-Ins32";
// Which keys, and whether vbaddin.ini or its section, registration made: removal takes
// away exactly those (once empty) and nothing that was there before.
constexpr wchar_t createdKeysValue[] = L"CorvaneCreatedKeys";
constexpr wchar_t createdIniValue[] = L"CorvaneCreatedIni";

std::wstring classId() {
    wchar_t text[64];
    ::StringFromGUID2(ClsidWizard, text, 64);
    return text;
}

std::wstring classKey() { return L"Software\\Classes\\CLSID\\" + classId(); }

std::wstring addinKey() { return std::wstring(addinsKey) + L"\\" + ProgId; }

std::wstring iniPath() {
    wchar_t folder[MAX_PATH];
    UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length < MAX_PATH ? length : 0) + L"\\vbaddin.ini";
}

// Creates `path` key by key; adds to `created` each key that did not exist.
LONG createKey(const std::wstring& path, std::vector<std::wstring>& created, HKEY* key) {
    size_t end = 0;
    LONG status = ERROR_SUCCESS;
    do {
        end = path.find(L'\\', end + 1);
        std::wstring part = path.substr(0, end);
        HKEY opened = nullptr;
        DWORD disposition = 0;
        status = ::RegCreateKeyExW(HKEY_CURRENT_USER, part.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                                   &disposition);
        if (status != ERROR_SUCCESS)
            return status;
        if (disposition == REG_CREATED_NEW_KEY)
            created.push_back(part);
        if (end == std::wstring::npos)
            *key = opened;
        else
            ::RegCloseKey(opened);
    } while (end != std::wstring::npos);
    return status;
}

LONG setText(HKEY key, const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ) {
    return ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG setNumber(HKEY key, const wchar_t* name, DWORD value) {
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// Writes the key `path` with its default value `text` (when not empty) and `values`.
LONG writeKey(const std::wstring& path, const std::wstring& text, std::vector<std::wstring>& created,
              HKEY* keep = nullptr) {
    HKEY key = nullptr;
    LONG status = createKey(path, created, &key);
    if (status == ERROR_SUCCESS && !text.empty())
        status = setText(key, nullptr, text);
    if (keep && status == ERROR_SUCCESS)
        *keep = key;
    else
        ::RegCloseKey(key);
    return status;
}

std::vector<std::wstring> readList(const std::wstring& path, const wchar_t* name) {
    wchar_t buffer[4096] = {};
    DWORD size = sizeof buffer - 2 * sizeof(wchar_t);
    std::vector<std::wstring> list;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_MULTI_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return list;
    for (const wchar_t* item = buffer; *item; item += list.back().size() + 1)
        list.emplace_back(item);
    return list;
}

DWORD readNumber(const std::wstring& path, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

bool keyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

bool isEmptyKey(const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0, values = 0;
    LONG status = ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                     nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

// Adds the add-in to vbaddin.ini's list; returns 2 where the file was made, 1 where only
// the section was, 0 where both were there.
DWORD addIniEntry() {
    std::wstring path = iniPath();
    DWORD made = ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? 2 : 0;
    wchar_t section[8];
    if (!made && ::GetPrivateProfileSectionW(iniSection, section, 8, path.c_str()) == 0)
        made = 1;
    ::WritePrivateProfileStringW(iniSection, ProgId, L"1", path.c_str());
    return made;
}

void removeIniEntry(DWORD made) {
    std::wstring path = iniPath();
    ::WritePrivateProfileStringW(iniSection, ProgId, nullptr, path.c_str());
    wchar_t section[8];
    if (made >= 1 && ::GetPrivateProfileSectionW(iniSection, section, 8, path.c_str()) == 0)
        ::WritePrivateProfileStringW(iniSection, nullptr, nullptr, path.c_str());
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()); // flushes the cached file
    if (made == 2 && readWholeFile(path).find_first_not_of(" \t\r\n") == std::string::npos)
        ::DeleteFileW(path.c_str());
}

} // namespace

HRESULT registerAddin(const std::wstring& dllPath) {
    std::wstring progIdKey = std::wstring(L"Software\\Classes\\") + ProgId;
    std::vector<std::wstring> created = readList(classKey(), createdKeysValue);
    DWORD iniMade = readNumber(classKey(), createdIniValue);
    bool registeredBefore = keyExists(classKey());
    HKEY classEntry = nullptr, inproc = nullptr, addin = nullptr;
    LONG status = writeKey(progIdKey, L"Corvane", created);
    if (status == ERROR_SUCCESS)
        status = writeKey(progIdKey + L"\\CLSID", classId(), created);
    if (status == ERROR_SUCCESS)
        status = writeKey(classKey(), ProgId, created, &classEntry);
    if (status == ERROR_SUCCESS)
        status = writeKey(classKey() + L"\\ProgID", ProgId, created);
    if (status == ERROR_SUCCESS && (status = writeKey(classKey() + L"\\InprocServer32", dllPath, created, &inproc)) ==
                                       ERROR_SUCCESS) {
        status = setText(inproc, L"ThreadingModel", L"Apartment");
        ::RegCloseKey(inproc);
    }
    if (status == ERROR_SUCCESS && (status = writeKey(addinKey(), {}, created, &addin)) == ERROR_SUCCESS) {
        setText(addin, L"FriendlyName", L"Corvane");
        setText(addin, L"Description", L"Popup (What's This) help for the controls of the project");
        setNumber(addin, L"LoadBehavior", 1); // connected when the IDE starts
        status = setNumber(addin, L"CommandLineSafe", 0); // it shows windows
        ::RegCloseKey(addin);
    }
    if (status == ERROR_SUCCESS && !registeredBefore)
        iniMade = addIniEntry();
    else if (status == ERROR_SUCCESS)
        addIniEntry();
    if (classEntry) {
        std::wstring list;
        for (const std::wstring& key : created)
            list += key + L'\0';
        list += L'\0';
        ::RegSetValueExW(classEntry, createdKeysValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list.data()),
                         static_cast<DWORD>(list.size() * sizeof(wchar_t)));
        setNumber(classEntry, createdIniValue, iniMade);
        ::RegCloseKey(classEntry);
    }
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

HRESULT unregisterAddin() {
    std::vector<std::wstring> created = readList(classKey(), createdKeysValue);
    DWORD iniMade = readNumber(classKey(), createdIniValue);
    removeIniEntry(iniMade);
    for (const std::wstring& key : {addinKey(), classKey(), std::wstring(L"Software\\Classes\\") + ProgId})
        ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); // the key with everything in it
    // The keys registration made, deepest first, where nothing else lives in them now.
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        if (isEmptyKey(*it))
            ::RegDeleteKeyW(HKEY_CURRENT_USER, it->c_str());
    return S_OK;
}

} // namespace corvane::vbaddin
