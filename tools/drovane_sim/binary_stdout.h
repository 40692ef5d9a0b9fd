// Puts standard output in binary mode where the C library would otherwise
// turn "\n" into "\r\n". The source file is chosen per system by CMake.
#pragma once

void SetStdoutBinary();
