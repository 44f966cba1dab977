function varargout = KVFftw(varargin)
% KVFftw  Set how FFTW plans the FFT propagators, and save or load FFTW wisdom.
%
%   method = KVFftw('planner')
%   KVFftw('planner', method)
%   seconds = KVFftw('timelimit')
%   KVFftw('timelimit', seconds)
%   KVFftw('save', file)
%   KVFftw('load', file)
%
%   method   'estimate' (the default), 'measure' or 'patient', in any case;
%            KVFftw('planner', ...) also returns the level now in effect
%   seconds  the most time FFTW spends planning one transform at 'measure'
%            or 'patient' (default 10; Inf: no limit); KVFftw('timelimit',
%            ...) also returns the limit now in effect
%   file     a wisdom file (FFTW's text format, at most 1 MiB)
%
%   KVFresnelFFT, KVAngularSpectrum and KVTurbScreen transform through
%   FFTW. The first call at a grid size makes an FFTW plan at the level in
%   effect, and every later call at that size and level uses it again.
%   'estimate' guesses a plan from a model at once; 'measure' times a few
%   candidates on the first call and may run faster after it; 'patient'
%   times many more and takes much longer to plan.
%
%   The default is 'estimate', for three reasons: it plans at once, it needs
%   no files, and it makes the same plan in every process, so that a script
%   run twice, or in Octave and in Python, gives the same bits (Octave's own
%   fft2 plans at 'estimate' by default too). 'measure' and 'patient' are
%   for long runs at one size, where a faster transform pays for the
%   planning; they choose by timing, so two processes may choose different
%   plans, and results may then differ in the last bits, unless both load
%   the same wisdom. FFTW uses wisdom at every level, 'estimate' too: a
%   session that has measured a size, or loaded wisdom of it, makes its
%   'estimate' plans of that size from that wisdom. What the levels cost and gain on the machine that built
%   the manual is on its performance page. On a 2-processor machine shared
%   with other jobs (load average 8 to 9), by bench/planner_timing.m, each
%   level in a new session (KVFresnelFFT, seconds):
%
%     level      N     first call   later calls   later calls, in turns
%     estimate   1024     0.63         0.50          0.42
%     measure    1024     9.8          0.12          0.07
%     estimate   2048     3.2          3.2           2.9
%     measure    2048    28            3.7           3.0
%
%   The first 'measure' call plans two transforms, each cut at the time
%   limit. Later calls at N = 1024 ran 6 times faster with the measured
%   plans there; at N = 2048 the transforms' share of the time was small
%   and the levels were even. 'measure' therefore pays for a long run at
%   one size, with wisdom saved and loaded where several processes must
%   agree.

%   Planning at 'measure' or 'patient' from N = 1024 on takes seconds: the
%   first such call at each size and level prints one line that says so,
%   and that later calls reuse the plans. FFTW's planner cannot be
%   interrupted, so it is bounded: after the time limit it stops measuring
%   and takes the best plan found so far. A 'patient' plan is then cut
%   short, usually at about 10 s per plan; raise the limit for a truly
%   patient plan.
%
%   The level and the time limit hold for the whole session and every
%   command: they are kept in the environment variables
%   KORVANE_FFTW_PLANNER and KORVANE_FFTW_TIMELIMIT, which may also be set
%   before Octave, MATLAB or Python starts. Plans made at another level are
%   kept and used again when that level is chosen again.
%
%   Results. A plan of another level may change the last bits of a result:
%   plans differ in the order in which they add. The same plan gives the
%   same bits every time; Korvane transforms data aligned the same way in
%   every call, so the plan does not depend on where the host put the field.
%
%   Wisdom. FFTW remembers every plan it has measured (its wisdom) for the
%   rest of the session; a command that plans the same transform later
%   finds it there at once. Octave's fft and MATLAB's use the same FFTW
%   library and so the same wisdom. Before the first plan the system's
%   wisdom (/etc/fftw/wisdom on Linux) is added. KVFftw('save', file) writes
%   the session's wisdom to a new file beside file and renames it over
%   file, so that a crash or a full disk never leaves half a file.
%   KVFftw('load', file) adds the wisdom in file, which may be the first
%   call of a session; a file that is not a regular file of at most 1 MiB
%   (a device, a FIFO, a folder, a huge file), or that is not wisdom, is
%   refused at once with a Korvane:badValue error that says why. A measured
%   plan loaded from wisdom is the plan the saving session used: the same
%   bits in both sessions.
%
%   Threads. FFTW runs the transforms of grids from N = 128 on with its own
%   threads, one per processor (in MATLAB, built over MATLAB's own FFTW
%   library, on one thread). KORVANE_NUM_THREADS sets the threads of
%   Korvane's own loops (the multiplications between the transforms, and
%   every other command); it does not change FFTW's threads or the results.
%
%   Example:
%     KVFftw('planner', 'measure');     % plan harder for a long run
%     F = KVBegin(4e-3, 633e-9, 1024);
%     F = KVFresnelFFT(0.1, F);         % the first call at N = 1024 plans
%     KVFftw('save', 'korvane.wisdom');
%     % in a later session, and the same bits as in this one:
%     KVFftw('load', 'korvane.wisdom'); % plans from the file at once
%     KVFftw('planner', 'measure');
%
%   See also KVFresnelFFT, KVAngularSpectrum, KVPad.
error('Korvane:notCompiled', 'KVFftw is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
