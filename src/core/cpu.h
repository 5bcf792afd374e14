// What the processor can run, for the kernels built for more than the base
// instruction set.
#pragma once

// 1 when the processor runs x86-64-v3 code as the AVX2 kernels are built
// (AVX2, FMA, BMI1, BMI2); 0 elsewhere, on other processors too.
int cpuRunsX86_64v3();
