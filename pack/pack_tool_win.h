// zelbo-pack from its arguments to its exit status, as the program's entry point runs it.
#pragma once

#include <string>
#include <vector>

// arguments: those after the program's name, UTF-8. A lone path of a file or folder dropped onto
// the tool runs the command it asks for (see DroppedCommand); the run ends with a wait for Enter
// when the tool has a console window of its own.
int RunPackTool(const std::vector<std::string>& arguments);
