#include "app/program.h"

int main() { return zov::RunProgram("/proc/self/exe"); }
