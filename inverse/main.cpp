#include "inverse.hpp"

#include "console.hpp"

int main()
{
    const int status = run_gjinverse(stdin, stdout, stderr);
    hold_own_console(stdin, stdout);
    return status;
}
