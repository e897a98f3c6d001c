#include "authoring/resources_win.h"

#include <cstring>

#include "authoring/files_win.h"
#include "authoring/media_format.h"
#include "platform/win_raii.h"
#include "resource.h"

namespace {

struct UpdateHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    // Abandons the update: the file keeps what it held before BeginUpdateResource.
    static void Release(HANDLE update) { EndUpdateResourceW(update, TRUE); }
};
using UniqueResourceUpdate = UniqueHandle<HANDLE, UpdateHandleTraits>;

struct Enumeration {
    HMODULE module;
    std::vector<ResourceEntry>* resources;
    ResourceKey type;
    ResourceKey name;
};

BOOL CALLBACK OnResourceLanguage(HMODULE module, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context)
{
    auto* enumeration = reinterpret_cast<Enumeration*>(context);
    ResourceEntry entry;
    entry.type = enumeration->type;
    entry.name = enumeration->name;
    entry.language = language;
    HRSRC found = FindResourceExW(module, entry.type.Pointer(), entry.name.Pointer(), language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data)
        entry.bytes.assign(static_cast<const char*>(data), SizeofResource(module, found));
    enumeration->resources->push_back(std::move(entry));
    return TRUE;
}

BOOL CALLBACK OnResourceName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context)
{
    auto* enumeration = reinterpret_cast<Enumeration*>(context);
    enumeration->name = ResourceKey::FromPointer(name);
    EnumResourceLanguagesW(module, type, name, OnResourceLanguage, context);
    return TRUE;
}

BOOL CALLBACK OnResourceType(HMODULE module, LPWSTR type, LONG_PTR context)
{
    auto* enumeration = reinterpret_cast<Enumeration*>(context);
    enumeration->type = ResourceKey::FromPointer(type);
    EnumResourceNamesW(module, type, OnResourceName, context);
    return TRUE;
}

// Windows takes "/" in most paths, but not always in a module's name; and a name without an
// extension gets ".dll" added unless it ends with a dot.
std::wstring ModulePath(const std::filesystem::path& path)
{
    std::wstring result = FullPath(path).native();
    const size_t name = result.find_last_of(L"\\/");
    if (result.find(L'.', name == std::wstring::npos ? 0 : name) == std::wstring::npos)
        result += L'.';
    return result;
}

bool UpdateResources(const std::filesystem::path& path, const std::vector<ResourceEntry>& resources, std::string* error)
{
    // Starting from an empty table is the only reliable way to drop resources: entries deleted one
    // by one come back when the update ends.
    UniqueResourceUpdate update(BeginUpdateResourceW(path.c_str(), TRUE));
    if (!update) {
        *error = "impossible d'ouvrir la copie du lecteur (" + LastSystemError() + ")";
        return false;
    }
    for (const ResourceEntry& entry : resources) {
        if (!UpdateResourceW(update.Get(), entry.type.Pointer(), entry.name.Pointer(), entry.language,
                             const_cast<char*>(entry.bytes.data()), static_cast<DWORD>(entry.bytes.size()))) {
            *error = "impossible d'ajouter la ressource " + entry.type.Describe() + " " + entry.name.Describe() + " (" +
                     LastSystemError() + ")";
            return false;
        }
    }
    if (!EndUpdateResourceW(update.Detach(), FALSE)) {
        *error = "impossible d'écrire les ressources (" + LastSystemError() + ")";
        return false;
    }
    return true;
}

bool VerifyResources(const std::filesystem::path& path, const std::vector<ResourceEntry>& resources, std::string* error)
{
    std::vector<ResourceEntry> written;
    if (!ReadModuleResources(path, &written, error)) {
        *error = "le quiz écrit ne se charge pas : " + *error;
        return false;
    }
    if (written.size() != resources.size()) {
        *error = "le quiz écrit contient " + std::to_string(written.size()) + " ressources au lieu de " +
                 std::to_string(resources.size());
        return false;
    }
    UniqueModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    for (const ResourceEntry& entry : resources) {
        HRSRC found = module ? FindResourceExW(module.Get(), entry.type.Pointer(), entry.name.Pointer(), entry.language)
                             : nullptr;
        HGLOBAL loaded = found ? LoadResource(module.Get(), found) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data || SizeofResource(module.Get(), found) != entry.bytes.size() ||
            std::memcmp(data, entry.bytes.data(), entry.bytes.size()) != 0) {
            *error = "la ressource " + entry.type.Describe() + " " + entry.name.Describe() +
                     " ne se relit pas à l'identique dans le quiz écrit";
            return false;
        }
    }
    return true;
}

} // namespace

bool IsPlayerImage(const std::vector<ResourceEntry>& resources)
{
    constexpr WORD DIALOG_TYPE = 5, VERSION_TYPE = 16, VERSION_ID = 1;
    auto has = [&](WORD type, WORD id) {
        for (const ResourceEntry& entry : resources)
            if (entry.type.text.empty() && entry.type.id == type && entry.name.text.empty() && entry.name.id == id)
                return true;
        return false;
    };
    return has(DIALOG_TYPE, IDD_QUESTION_BOARD) && has(DIALOG_TYPE, IDD_HEADER_PANEL) && has(VERSION_TYPE, VERSION_ID);
}

ResourceKey ResourceKey::FromPointer(LPCWSTR pointer)
{
    ResourceKey key;
    if (IS_INTRESOURCE(pointer))
        key.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(pointer));
    else
        key.text = pointer;
    return key;
}

bool ResourceKey::IsType(const wchar_t* name) const
{
    return !text.empty() && lstrcmpiW(text.c_str(), name) == 0;
}

std::string ResourceKey::Describe() const
{
    return text.empty() ? std::to_string(id) : WideToUtf8(text);
}

bool ReadModuleResources(const std::filesystem::path& path, std::vector<ResourceEntry>* resources, std::string* error)
{
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) {
        *error = ReadFailure(path);
        return false;
    }
    const bool isImage = bytes.compare(0, 2, "MZ") == 0;
    UniqueModule module(isImage ? LoadLibraryExW(ModulePath(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)
                                : nullptr);
    if (!module) {
        *error = path.u8string() + " n'est pas un programme Windows" + (isImage ? " (" + LastSystemError() + ")" : "");
        return false;
    }
    resources->clear();
    Enumeration enumeration{module.Get(), resources, {}, {}};
    EnumResourceTypesW(module.Get(), OnResourceType, reinterpret_cast<LONG_PTR>(&enumeration));
    return true;
}

bool WriteQuizExecutable(std::string player, const std::vector<ResourceEntry>& resources,
                         const std::filesystem::path& output, std::string* error)
{
    if (!ClearCoffSymbolTable(player)) {
        *error = "le lecteur n'est pas un programme Windows (en-tête PE introuvable)";
        return false;
    }
    const std::filesystem::path folder = output.has_parent_path() ? output.parent_path() : ".";
    const std::string cannotWrite = "impossible d'écrire dans le dossier de " + output.u8string() + " (";
    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(folder.c_str(), L"zpk", 0, temporary)) {
        *error = cannotWrite + LastSystemError() + ")";
        return false;
    }
    const std::filesystem::path temporaryPath = temporary;
    bool ok = WriteWholeFile(temporaryPath, player);
    if (!ok)
        *error = cannotWrite + LastSystemError() + ")";
    ok = ok && UpdateResources(temporaryPath, resources, error) && VerifyResources(temporaryPath, resources, error);
    if (ok && !MoveFileExW(temporaryPath.c_str(), output.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        *error = "impossible de remplacer " + output.u8string() + " (" + LastSystemError() + ")";
        ok = false;
    }
    if (!ok)
        DeleteFileW(temporaryPath.c_str());
    return ok;
}
