// The question board's pictures, decoded in the background. The board is planned from the
// pictures' headers and shown at once with the pictures in view; worker threads (one per core)
// decode the others, the rows nearest the view first, and the board's own thread hands each one to
// its control.
#pragma once

#include <windows.h>

// Posted to the board when decoded pictures wait for their controls.
constexpr UINT WM_BOARD_PICTURES_READY = WM_APP + 1;

// Begins the pictures of a board about to be built, ending those of any earlier board. Until the
// build ends, only the pictures that may be in the first view are decoded: the build itself needs
// the processor more than the others.
void StartBoardPictures(HWND board);

// Queues the picture of question q for its control, which the build has just placed between top
// and bottom (board coordinates, before any scrolling).
void QueueQuestionPicture(HWND board, int question, int top, int bottom);

// Shows the answer picture of a solved question in place of its question picture. During the build
// it takes the question picture's turn in the queue (and gives way to the question picture when it
// does not decode); afterwards it is decoded at once. A question without an answer picture keeps
// its own.
void ShowAnswerPicture(HWND board, int question);

// The build has queued everything: the workers go on to the pictures out of view; without worker
// threads, every picture is decoded now.
void FinishBoardPictureQueue(HWND board);

// Decodes the pictures in view that are not decoded yet and installs every decoded picture: the
// board then shows itself complete. For WM_SHOWWINDOW.
void ShowPicturesInView(HWND board);

// Hands the decoded pictures to their controls; for WM_BOARD_PICTURES_READY.
void InstallDecodedPictures(HWND board);

// The view moved or changed its size: the pictures now in view are decoded next.
void OnBoardViewChanged(HWND board);

// Ends the workers (a decode under way gives up at its next read) and deletes the pictures not
// handed over yet. For the board's WM_DESTROY and the player's shut-down.
void StopBoardPictures(HWND board);

// Decoding threads for the boards built from now on: below 0 (the default) one per core; 0 makes
// the build decode every picture itself, as it does on a machine where no thread can be started.
void SetPictureThreadCount(int count);
