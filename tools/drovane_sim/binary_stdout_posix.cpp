#include "binary_stdout.h"

// POSIX streams never translate line ends.
void SetStdoutBinary() {}
