// Resource and control ids of the player. Kept by hand; the resource compiler reads it too, so it
// holds nothing but #define lines.
#pragma once

// Dialog templates, cursor and icons.
#define IDD_QUESTION_BOARD 1001
#define IDD_HEADER_PANEL 1002
#define IDR_LINK_CURSOR 1003
#define IDI_PLAY 1004
#define IDI_STOP 1005
#define IDI_ZELBO 1

// Quiz content: "PATCH" resources, LZW-compressed.
#define CONTENT_RESOURCE_TYPE "PATCH"
#define IDR_CONTENT 104
#define IDR_CODES 105
#define IDR_ACCEPTED_ANSWERS 106

// Pictures and clips: "IMG" resources, question q at base + q.
#define PICTURE_RESOURCE_TYPE "IMG"
#define IDR_QUESTION_PICTURE_BASE 400
#define IDR_ANSWER_PICTURE_BASE 10400

// Main window.
#define IDC_VERSION_LABEL 8000

// Question board.
#define IDC_NUMBER_LABEL 153
#define IDC_ANSWER_CAPTION 156
#define IDC_QUESTION_TEXT 3000
#define IDC_ANSWER_BASE 4000
#define IDC_VERDICT_BASE 5000
#define IDC_PLAY_BASE 6000
#define IDC_STOP_BASE 7000
#define IDC_REVEAL_BASE 8000
#define IDC_PICTURE_BASE 9900

// Header panel.
#define IDC_WEB_LINK 24
#define IDC_BY_LABEL 25
#define IDC_CREATOR 26
#define IDC_SAVE 27
#define IDC_EXPLANATION 28
#define IDC_TITLE 29
#define IDC_CODE 30
#define IDC_CODE_LABEL 31
#define IDC_SCORE 32
#define IDC_RULE_H 120
#define IDC_RULE_LEFT 121
#define IDC_RULE_RIGHT 122
