// zelbo-pack: the quiz makers' tool.
#include <cstdio>

int wmain(int, wchar_t**)
{
    std::fputs("zelbo-pack\n", stdout);
    return 0;
}
