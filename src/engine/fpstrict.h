// Keeps floating-point results as written: no fused multiply-add contraction,
// whatever the instruction set a function is compiled for. Included first by
// the engine sources whose results are compared bit for bit.
#pragma once

#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif
