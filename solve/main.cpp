#include "solve.hpp"

int main()
{
    return run_gjsolve(stdin, stdout, stderr);
}
