#include "inverse.hpp"

int main()
{
    return run_gjinverse(stdin, stdout, stderr);
}
