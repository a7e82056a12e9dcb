#include "cli/run.h"

int main(int argc, char* argv[])
{
    return tevrin::run(argc, argv);
}
