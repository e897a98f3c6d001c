// Shared by the Windows tests, which run in-process under Wine and drive the player's real windows:
// one include for every helper.
#pragma once

#include "atelier_driver_win.h"
#include "board_check_win.h"
#include "gdi_counting_win.h"
#include "test_files_win.h"
#include "test_player_win.h"
#include "tool_run_win.h"
