#include "startup.h"

int main(int argc, char **argv)
{
    return runTamsel(argc, argv);
}
