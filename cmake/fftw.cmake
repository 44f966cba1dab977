# FFTW 3 in double precision and its threads library, for the FFT
# propagators (src/propagation/fft_*). The shared libraries are wanted: the
# host may have FFTW loaded already (Octave does), and the modules must share
# that one copy, its planner and its worker threads, with it.
# Debian/Ubuntu: apt-get install libfftw3-dev.
find_path(FFTW3_INCLUDE_DIR fftw3.h)
find_library(FFTW3_LIBRARY NAMES fftw3)
find_library(FFTW3_THREADS_LIBRARY NAMES fftw3_threads)
if(NOT FFTW3_INCLUDE_DIR OR NOT FFTW3_LIBRARY OR NOT FFTW3_THREADS_LIBRARY)
  message(FATAL_ERROR "FFTW 3 (fftw3.h, libfftw3, libfftw3_threads) not found; "
                      "on Debian: apt-get install libfftw3-dev")
endif()
find_package(Threads REQUIRED)
target_include_directories(korvane PUBLIC ${FFTW3_INCLUDE_DIR})
target_link_libraries(korvane PUBLIC ${FFTW3_THREADS_LIBRARY} ${FFTW3_LIBRARY} Threads::Threads
                                     ${CMAKE_DL_LIBS})
