#include "atelier/atelier_dialogs_win.h"

#include <commdlg.h>
#include <shlobj.h>

namespace {

// Filters as the file dialogs take them: pairs of zero-ended texts, a second zero at the end.
const wchar_t* FilterOf(FileKind kind)
{
    switch (kind) {
    case FileKind::QUIZ:
        return L"Quiz (quiz.toml, quiz .exe)\0*.toml;*.exe\0Source de quiz (*.toml)\0*.toml\0"
               L"Quiz fabriqué (*.exe)\0*.exe\0";
    case FileKind::SOURCE:
        return L"Source de quiz (*.toml)\0*.toml\0";
    case FileKind::TABLE:
        return L"Tableau enregistré en texte (*.csv, *.txt, *.tsv)\0*.csv;*.txt;*.tsv\0Tous les fichiers\0*.*\0";
    case FileKind::MEDIA:
        return L"Images et clips\0*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.tif;*.tiff;*.mp3;*.avi\0"
               L"Tous les fichiers\0*.*\0";
    case FileKind::BUILT_QUIZ:
        break;
    }
    return L"Quiz (*.exe)\0*.exe\0";
}

const wchar_t* ExtensionOf(FileKind kind)
{
    return kind == FileKind::SOURCE ? L"toml" : L"exe";
}

// A file dialog of kind, writing its answer into buffer.
OPENFILENAMEW FileDialog(HWND owner, FileKind kind, std::wstring& buffer)
{
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = FilterOf(kind);
    dialog.lpstrFile = &buffer[0];
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    return dialog;
}

std::vector<std::wstring> PlatformOpenFiles(HWND owner, FileKind kind)
{
    std::wstring buffer(32768, L'\0');
    OPENFILENAMEW dialog = FileDialog(owner, kind, buffer);
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   (kind == FileKind::MEDIA ? OFN_ALLOWMULTISELECT : 0);
    if (!GetOpenFileNameW(&dialog))
        return {};
    // Several files come as the folder, then each name, each ended by a zero.
    std::vector<std::wstring> parts;
    for (const wchar_t* part = buffer.c_str(); *part; part += wcslen(part) + 1)
        parts.emplace_back(part);
    if (parts.size() <= 1)
        return parts;
    std::vector<std::wstring> files;
    for (size_t i = 1; i < parts.size(); ++i)
        files.push_back(parts[0] + L"\\" + parts[i]);
    return files;
}

std::wstring PlatformSaveFile(HWND owner, FileKind kind, const std::wstring& suggested)
{
    std::wstring buffer(32768, L'\0');
    buffer.replace(0, suggested.size(), suggested);
    OPENFILENAMEW dialog = FileDialog(owner, kind, buffer);
    dialog.lpstrDefExt = ExtensionOf(kind);
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog))
        return {};
    return buffer.c_str();
}

std::wstring PlatformChooseFolder(HWND owner, const wchar_t* title)
{
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (!chosen)
        return {};
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? path : L"";
}

bool PlatformChooseColour(HWND owner, COLORREF* colour)
{
    static COLORREF custom[16] = {};
    CHOOSECOLORW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.rgbResult = *colour;
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&dialog))
        return false;
    *colour = dialog.rgbResult;
    return true;
}

} // namespace

AtelierDialogs PlatformDialogs()
{
    return {PlatformOpenFiles, PlatformSaveFile, PlatformChooseFolder, PlatformChooseColour};
}

AtelierDialogs g_dialogs = PlatformDialogs();
