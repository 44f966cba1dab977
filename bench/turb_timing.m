% Times KVTurbScreen at N = 256, 512, 1024, 2048 against one fft2 of an
% N x N complex array and against the textbook screen in vectorised Octave
% (bench/turb_peer.m: an FFT screen plus three levels of subharmonics, each
% an N x N complex exponential); times KVStructureFunction too. Minima of
% interleaved runs (the peer: fewer runs at the larger N). Run from the repo
% root with the modules on the path:
%   octave-cli --eval "addpath('build/octave'); addpath('bench'); turb_timing"
% Octave's fft2 uses FFTW with as many threads as processors, and so does
% the screen's transform; the rest of the screen runs on one thread.
% Targets: the screen at most 1.5 x fft2 and at most 0.1 x the peer at
% N = 1024 and 2048.
function turb_timing(sizes, reps)
  if nargin < 1
    sizes = [256 512 1024 2048];
  end
  if nargin < 2
    reps = 9;
  end
  r0 = 0.1;
  printf('%d processor(s), fftw threads %d; minima of %d interleaved runs\n', nproc(), ...
         fftw('threads'), reps);
  printf('%5s %11s %9s %9s %9s %10s %9s\n', 'N', 'screen ms', 'fft2 ms', 'peer ms', ...
         'scr/fft2', 'scr/peer', 'SF ms');
  for n = sizes
    F = KVBegin(2, 1e-6, n);
    A = complex(randn(n), randn(n));
    P = KVTurbScreen(1, r0, Inf, 0, F);          % plans made here
    B = fft2(A);
    D = KVStructureFunction(P, F);
    npeer = max(1, min(reps, round(reps * (512 / n)^2)));
    ts = inf; tf = inf; tp = inf; tsf = inf;
    for k = 1:reps
      t0 = tic; P = KVTurbScreen(k, r0, Inf, 0, F); ts = min(ts, toc(t0));
      t0 = tic; B = fft2(A); tf = min(tf, toc(t0));
      if k <= npeer
        t0 = tic; Q = turb_peer(r0, n, 2 / n, Inf, 0); tp = min(tp, toc(t0));
      end
      if k <= 3
        t0 = tic; D = KVStructureFunction(P, F); tsf = min(tsf, toc(t0));
      end
    end
    printf('%5d %11.2f %9.2f %9.1f %9.2f %10.3f %9.1f\n', n, 1e3 * ts, 1e3 * tf, 1e3 * tp, ...
           ts / tf, ts / tp, 1e3 * tsf);
  end
end
