% Times one KVMedium step at N = 1024 and 2048 against one KVAngularSpectrum
% call and against a step of the vectorised split step in Octave
% (bench/medium_peer.m). A step is the time of a call of 11 steps less that
% of a call of 1, over 10 (so the first transform, the tables and the copy
% are not counted; the 1-step call is shown too). Minima of interleaved
% runs. Both sides plan at the level given (default 'estimate': KVFftw for
% ours, fftw('planner') for Octave's fft2). Run from the repo root:
%   octave-cli --eval "addpath('build/octave'); addpath('bench'); medium_timing"
% Targets: a step at most 1.1 x KVAngularSpectrum and at most 0.3 x the
% peer's step.
function medium_timing(sizes, reps, planner)
  if nargin < 1
    sizes = [1024 2048];
  end
  if nargin < 2
    reps = 5;
  end
  if nargin < 3
    planner = 'estimate';
  end
  KVFftw('planner', planner);
  fftw('planner', planner);
  printf('%d processor(s); planner %s; minima of %d interleaved runs\n', nproc(), planner, reps);
  printf('%5s %10s %10s %10s %10s %9s %9s\n', 'N', '1-step ms', 'step ms', 'AS ms', ...
         'peer ms', 'step/AS', 'step/peer');
  for N = sizes
    L = 1e-3;
    F = KVGaussAperture(1e-4, 0, 0, 1, KVBegin(L, 1e-6, N));
    [x, y] = KVCoordinates(F);
    n = 1.5 + 0.01 * exp(-(x.^2 + y.^2) / (2e-4)^2);
    U = F(1:N, 1:N);
    G = KVMedium(1e-4, 1, n, F); G = KVAngularSpectrum(1e-4, F);   % plans made here
    V = medium_peer(U, n, 1e-4, 1, 1e-6, L);
    t1 = inf; t11 = inf; ta = inf; tp = inf;
    for k = 1:reps
      t0 = tic; G = KVMedium(1e-4, 1, n, F); t1 = min(t1, toc(t0));
      t0 = tic; G = KVMedium(1.1e-3, 11, n, F); t11 = min(t11, toc(t0));
      t0 = tic; G = KVAngularSpectrum(1e-4, F); ta = min(ta, toc(t0));
      if k <= 3
        t0 = tic; V = medium_peer(U, n, 4e-4, 4, 1e-6, L); tp = min(tp, toc(t0) / 4);
      end
    end
    step = (t11 - t1) / 10;
    printf('%5d %10.1f %10.1f %10.1f %10.1f %9.2f %9.3f\n', N, 1e3 * t1, 1e3 * step, ...
           1e3 * ta, 1e3 * tp, step / ta, step / tp);
  end
end
