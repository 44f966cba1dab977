% Times KVMode on a step-index fibre's fundamental mode (a = 4.5 um,
% n1 = 1.4504, n2 = 1.4447, lambda = 1.31 um, V = 2.77) against eigs in
% shift-invert mode on the 5-point finite-difference Helmholtz matrix of the
% same grid (bench/mode_peer.m), and compares both neff with the root of
% the weakly guiding dispersion equation U*J1(U)/J0(U) = W*K1(W)/K0(W).
% The index is area-averaged at the core's edge (16 x 16 sub-samples), as
% KVMode's help recommends. Minima of interleaved runs; KVMode's first call
% (which plans the FFTs) is not counted. Run from the repo root:
%   octave-cli --eval "addpath('build/octave'); addpath('bench'); mode_timing"
% Target at N = 256: KVMode no slower than eigs, and closer to the theory.
function mode_timing(sizes, L, reps)
  if nargin < 1
    sizes = [128 256];
  end
  if nargin < 2
    L = 40e-6;
  end
  if nargin < 3
    reps = 3;
  end
  KVFftw('planner', 'estimate');
  a = 4.5e-6; n1 = 1.4504; n2 = 1.4447; lambda = 1.31e-6; k0 = 2 * pi / lambda;
  V = k0 * a * sqrt(n1^2 - n2^2);
  f = @(u) u .* besselj(1, u) ./ besselj(0, u) - ...
           sqrt(V^2 - u.^2) .* besselk(1, sqrt(V^2 - u.^2)) ./ besselk(0, sqrt(V^2 - u.^2));
  u = fzero(f, [1e-6, min(V, 2.404825557695773) - 1e-9], optimset('TolX', 1e-15));
  theory = sqrt(n1^2 - (u / (k0 * a))^2);
  printf('V = %.4f, theory neff = %.9f; %d processor(s), minima of %d runs\n', V, theory, ...
         nproc(), reps);
  printf('%5s %8s %12s %10s %8s %12s %10s\n', 'N', 'mode s', 'neff', 'error', 'eigs s', ...
         'neff', 'error');
  for N = sizes
    F = KVBegin(L, lambda, N);
    d = L / N;
    [x, y] = KVCoordinates(F);
    frac = zeros(N);
    s = 16;
    for p = 1:s
      for q = 1:s
        xs = x + ((p - 0.5) / s - 0.5) * d; ys = y + ((q - 0.5) / s - 0.5) * d;
        frac += (xs.^2 + ys.^2 < a^2);
      end
    end
    n = n2 + frac / s^2 * (n1 - n2);
    [M, ne] = KVMode(n, 0, F);
    tm = inf; te = inf;
    for k = 1:reps
      t0 = tic; [M, ne] = KVMode(n, 0, F); tm = min(tm, toc(t0));
      t0 = tic; np = mode_peer(n, d, lambda); te = min(te, toc(t0));
    end
    printf('%5d %8.3f %12.9f %10.2e %8.3f %12.9f %10.2e\n', N, tm, ne, ne - theory, te, np, ...
           np - theory);
  end
end
