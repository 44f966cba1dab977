// The part of FFTW 3's C interface the FFT commands call, declared here
// for builds that link a copy of FFTW without its header (MATLAB ships
// libmwfftw3 but no fftw3.h). Every other build includes <fftw3.h>.
#pragma once

extern "C" {
typedef double fftw_complex[2];
typedef struct fftw_plan_s* fftw_plan;
fftw_plan fftw_plan_dft_1d(int n, fftw_complex* in, fftw_complex* out, int sign, unsigned flags);
fftw_plan fftw_plan_dft_2d(int n0, int n1, fftw_complex* in, fftw_complex* out, int sign,
                           unsigned flags);
fftw_plan fftw_plan_dft_c2r_2d(int n0, int n1, fftw_complex* in, double* out, unsigned flags);
void fftw_execute_dft(const fftw_plan p, fftw_complex* in, fftw_complex* out);
void fftw_execute_dft_c2r(const fftw_plan p, fftw_complex* in, double* out);
void fftw_destroy_plan(fftw_plan p);
int fftw_alignment_of(double* p);
int fftw_init_threads(void);
void fftw_plan_with_nthreads(int nthreads);
int fftw_planner_nthreads(void);
char* fftw_export_wisdom_to_string(void);
int fftw_import_wisdom_from_string(const char* input_string);
void fftw_set_timelimit(double seconds);
int fftw_import_system_wisdom(void);
}

#define FFTW_FORWARD (-1)
#define FFTW_BACKWARD (+1)
#define FFTW_MEASURE (0U)
#define FFTW_PATIENT (1U << 5)
#define FFTW_ESTIMATE (1U << 6)
#define FFTW_WISDOM_ONLY (1U << 21)
#define FFTW_NO_TIMELIMIT (-1.0)
