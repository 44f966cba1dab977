function varargout = KVFftw(varargin)
% KVFftw  Set how FFTW plans the FFT propagators, and save or load FFTW wisdom.
%
%   method = KVFftw('planner')
%   KVFftw('planner', method)
%   KVFftw('save', file)
%   KVFftw('load', file)
%
%   method  'estimate', 'measure' (the default) or 'patient', in any case;
%           KVFftw('planner', ...) also returns the level now in effect
%   file    a wisdom file (FFTW's text format)
%
%   KVFresnelFFT and KVAngularSpectrum transform through FFTW. The first
%   call at a grid size makes an FFTW plan at the level in effect, and every
%   later call at that size and level uses it again. 'estimate' guesses a
%   plan from a model at once; 'measure' times a few candidates on the
%   first call and usually runs faster after it; 'patient' times many more
%   and takes much longer to plan. What the levels cost and gain on the
%   machine that built the manual is on its performance page.
%
%   The level holds for the whole session and every command: it is kept in
%   the environment variable KORVANE_FFTW_PLANNER, which may also be set
%   before Octave or MATLAB starts. Plans made at another level are kept
%   and used again when that level is chosen again.
%
%   Results. A plan of another level may change the last bits of a result:
%   plans differ in the order in which they add. The same plan gives the
%   same bits every time, so within a session the same level gives the same
%   bits. 'estimate' makes the same plan in every session; 'measure' and
%   'patient' choose by timing, so a new session may choose another plan,
%   unless it loads the wisdom of the first.
%
%   Wisdom. FFTW remembers every plan it has measured (its wisdom) for the
%   rest of the session; a command that plans the same transform later
%   finds it there at once. Octave's fft and MATLAB's use the same FFTW
%   library and so the same wisdom. Before the first plan the
%   system's wisdom (/etc/fftw/wisdom on Linux) is added. KVFftw('save',
%   file) writes the session's wisdom to file, and KVFftw('load', file) adds
%   the wisdom in file to it, so a long run, or a series of runs, plans each
%   size once.
%
%   Threads. FFTW runs the transforms of grids from N = 128 on with its own
%   threads, one per processor (in MATLAB, built over MATLAB's own FFTW
%   library, on one thread). KORVANE_NUM_THREADS sets the threads of
%   Korvane's own loops (the multiplications between the transforms, and
%   every other command); it does not change FFTW's threads or the results.
%
%   Example:
%     KVFftw('planner', 'patient');     % plan harder for a long run
%     F = KVBegin(4e-3, 633e-9, 1024);
%     F = KVFresnelFFT(0.1, F);         % the first call at N = 1024 plans
%     KVFftw('save', 'korvane.wisdom');
%     % in a later session:
%     KVFftw('load', 'korvane.wisdom'); % plans from the file at once
%
%   See also KVFresnelFFT, KVAngularSpectrum, KVPad.
error('Korvane:notCompiled', 'KVFftw is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
