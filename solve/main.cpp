#include "solve.hpp"

#include "console.hpp"

int main()
{
    const int status = run_gjsolve(stdin, stdout, stderr);
    hold_own_console(stdin, stdout);
    return status;
}
