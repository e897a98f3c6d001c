// The pictures of the quiz as the editor shows them: decoded on worker threads with the imaging
// component, kept once per file, drawn in the question list (an image list) and in the form.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// Starts the workers, which post WM_APP_THUMBNAIL to window; StopThumbnails ends them and forgets
// every picture.
void StartThumbnails(HWND window);
void StopThumbnails();

// The image list of the question list, listSide pixels square; rebuilt from the decoded pictures
// when the DPI changes. Image 0 is the blank shown until a picture is decoded.
HIMAGELIST ThumbnailImages();
void ResizeThumbnailImages(int listSide);

// The list image of a picture file (0 until decoded or when it cannot be read). Asks for its
// decoding the first time; urgent puts it before the others (the picture the form shows).
int ListImageOf(const std::string& path, bool urgent = false);

// A decoded picture arrived: it joins the image list; returns whether it was news to the window.
bool OnThumbnailDecoded(LPARAM decoded);

// Draws a picture file into box, fitted and centred on the window's colour; a clip or a picture
// not yet decoded shows its state in words.
void DrawPicturePreview(HDC dc, const RECT& box, const std::string& path);

// Whether every picture asked for has been decoded (or found unreadable).
bool ThumbnailsSettled();
