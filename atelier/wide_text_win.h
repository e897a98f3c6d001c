// Between the editor's UTF-8 (the quiz's texts, as the library holds them) and the UTF-16 that
// Windows speaks: the one place that converts.
#pragma once

#include "pack/console_win.h"
