#include "atelier/thumbnails_win.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "atelier/atelier_window_win.h"
#include "atelier/wide_text_win.h"
#include "authoring/media_format.h"
#include "authoring/pictures_win.h"
#include "platform/threads_win.h"
#include "platform/win_raii.h"

namespace {

// Pictures are kept at the size of the largest preview at 200 %, so that a change of DPI needs no
// second decoding.
constexpr unsigned KEPT_SIDE = 256;
// Each worker holds one whole photo while it decodes.
constexpr unsigned MAX_WORKERS = 4;

struct DecodedPicture {
    std::string path;
    bool ok = false;
    PixelSize size = {0, 0};
    std::vector<uint8_t> pixels; // 32-bit BGRX rows, top-down
};

struct KeptPicture {
    bool decoded = false;
    bool ok = false;
    PixelSize size = {0, 0};
    std::vector<uint8_t> pixels;
    int listImage = 0;
};

struct ThumbnailWorkers {
    HWND window = nullptr;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::string> queue;
    bool stopping = false;
    std::vector<std::thread> threads;
};

ThumbnailWorkers g_workers;
std::map<std::string, KeptPicture> g_pictures; // main thread only
HIMAGELIST g_images = nullptr;
int g_listSide = 40;

bool IsClip(const std::string& path)
{
    std::string extension = path.substr(path.find_last_of('.') + 1);
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == "mp3" || extension == "avi";
}

DecodedPicture Decode(const std::string& path)
{
    DecodedPicture decoded;
    decoded.path = path;
    std::string bytes;
    std::vector<uint8_t> bgr;
    if (!ReadWholeFile(PathOf(path), &bytes) || !DecodePictureToFit(bytes, KEPT_SIDE, &decoded.size, &bgr))
        return decoded;
    decoded.pixels.resize(size_t{decoded.size.width} * decoded.size.height * 4);
    for (size_t i = 0, j = 0; i < bgr.size(); i += 3, j += 4)
        std::copy(&bgr[i], &bgr[i] + 3, &decoded.pixels[j]);
    decoded.ok = true;
    return decoded;
}

void WorkerLoop()
{
    const ScopedComInit com(COINIT_MULTITHREADED);
    for (;;) {
        std::string path;
        {
            std::unique_lock<std::mutex> hold(g_workers.lock);
            g_workers.wake.wait(hold, [] { return g_workers.stopping || !g_workers.queue.empty(); });
            if (g_workers.stopping)
                return;
            path = std::move(g_workers.queue.front());
            g_workers.queue.pop_front();
        }
        auto decoded = std::make_unique<DecodedPicture>(Decode(path));
        if (PostMessageW(g_workers.window, WM_APP_THUMBNAIL, 0, reinterpret_cast<LPARAM>(decoded.get())))
            decoded.release();
    }
}

// A 32-bit picture, rows from the top.
BITMAPINFO TopDownInfo(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Draws pixels fitted into box (scaled up or down), centred.
void DrawFitted(HDC dc, const RECT& box, const KeptPicture& picture)
{
    const int boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    const auto width = static_cast<int>(picture.size.width), height = static_cast<int>(picture.size.height);
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return;
    int w = boxWidth, h = static_cast<int>(int64_t{height} * boxWidth / width);
    if (h > boxHeight) {
        h = boxHeight;
        w = std::max(1, static_cast<int>(int64_t{width} * boxHeight / height));
    }
    const BITMAPINFO info = TopDownInfo(width, height);
    const int previousMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, box.left + (boxWidth - w) / 2, box.top + (boxHeight - h) / 2, w, h, 0, 0, width, height,
                  picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previousMode);
}

// One square image of the list: the picture fitted on white, or the blank.
int AddListImage(const KeptPicture* picture)
{
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const BITMAPINFO info = TopDownInfo(g_listSide, g_listSide);
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap)
        return 0;
    {
        const ScopedSelection selected(dc.Get(), bitmap.Get());
        const RECT whole = {0, 0, g_listSide, g_listSide};
        FillRect(dc.Get(), &whole, GetSysColorBrush(picture ? COLOR_WINDOW : COLOR_BTNFACE));
        if (picture)
            DrawFitted(dc.Get(), whole, *picture);
    }
    // Every pixel opaque: the list view draws a 32-bit image with its alpha.
    auto* pixel = static_cast<uint8_t*>(bits);
    for (int i = 0; i < g_listSide * g_listSide; ++i)
        pixel[i * 4 + 3] = 0xFF;
    return ImageList_Add(g_images, bitmap.Get(), nullptr);
}

void RebuildImageList()
{
    if (g_images)
        ImageList_Destroy(g_images);
    g_images = ImageList_Create(g_listSide, g_listSide, ILC_COLOR32, 16, 16);
    AddListImage(nullptr);
    for (auto& [path, picture] : g_pictures)
        picture.listImage = picture.ok ? AddListImage(&picture) : 0;
}

} // namespace

void StartThumbnails(HWND window)
{
    g_workers.window = window;
    g_workers.stopping = false;
    const unsigned count = std::min(ProcessorCount(), MAX_WORKERS);
    for (unsigned i = 0; i < count; ++i)
        g_workers.threads.emplace_back(WorkerLoop);
    RebuildImageList();
}

void StopThumbnails()
{
    {
        const std::lock_guard<std::mutex> hold(g_workers.lock);
        g_workers.stopping = true;
        g_workers.queue.clear();
    }
    g_workers.wake.notify_all();
    for (std::thread& thread : g_workers.threads)
        thread.join();
    g_workers.threads.clear();
    // Pictures posted and not yet taken are freed here: the window will not take them.
    MSG message;
    while (PeekMessageW(&message, g_workers.window, WM_APP_THUMBNAIL, WM_APP_THUMBNAIL, PM_REMOVE))
        delete reinterpret_cast<DecodedPicture*>(message.lParam);
    g_pictures.clear();
    if (g_images)
        ImageList_Destroy(g_images);
    g_images = nullptr;
}

HIMAGELIST ThumbnailImages()
{
    return g_images;
}

void ResizeThumbnailImages(int listSide)
{
    g_listSide = listSide;
    RebuildImageList();
}

int ListImageOf(const std::string& path, bool urgent)
{
    if (path.empty() || IsClip(path))
        return 0;
    auto found = g_pictures.find(path);
    if (found != g_pictures.end()) {
        if (urgent && !found->second.decoded) {
            // Already waiting: it moves to the front.
            const std::lock_guard<std::mutex> hold(g_workers.lock);
            auto queued = std::find(g_workers.queue.begin(), g_workers.queue.end(), path);
            if (queued != g_workers.queue.end()) {
                g_workers.queue.erase(queued);
                g_workers.queue.push_front(path);
            }
        }
        return found->second.listImage;
    }
    g_pictures[path] = KeptPicture();
    {
        const std::lock_guard<std::mutex> hold(g_workers.lock);
        if (urgent)
            g_workers.queue.push_front(path);
        else
            g_workers.queue.push_back(path);
    }
    g_workers.wake.notify_one();
    return 0;
}

bool OnThumbnailDecoded(LPARAM lParam)
{
    const std::unique_ptr<DecodedPicture> decoded(reinterpret_cast<DecodedPicture*>(lParam));
    auto found = g_pictures.find(decoded->path);
    if (found == g_pictures.end())
        return false;
    KeptPicture& picture = found->second;
    picture.decoded = true;
    picture.ok = decoded->ok;
    picture.size = decoded->size;
    picture.pixels = std::move(decoded->pixels);
    picture.listImage = picture.ok ? AddListImage(&picture) : 0;
    return true;
}

void DrawPicturePreview(HDC dc, const RECT& box, const std::string& path)
{
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    const auto found = g_pictures.find(path);
    if (found != g_pictures.end() && found->second.ok) {
        DrawFitted(dc, box, found->second);
        return;
    }
    const wchar_t* state = path.empty()                                          ? L"Aucun fichier"
                           : IsClip(path)                                        ? L"Clip"
                           : found == g_pictures.end() || !found->second.decoded ? L"…"
                                                                                 : L"Illisible";
    RECT text = box;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, state, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

bool ThumbnailsSettled()
{
    for (const auto& [path, picture] : g_pictures)
        if (!picture.decoded)
            return false;
    return true;
}
