% Times KVFraunhofer against its vectorized Octave peer
% (bench/fraunhofer_peer.m) at N = 1024 onto M = 256 and M = 1024, checks
% that the two agree, and compares the time per output sample with
% KVForward's. Run from the repo root with the modules on the path:
%   octave-cli --eval "addpath('build/octave'); addpath('bench'); fraunhofer_timing"
% OPENBLAS_NUM_THREADS sets OpenBLAS's threads, KORVANE_NUM_THREADS ours.
reps = 5;
n = 1024;
lambda = 633e-9; L = 10e-3; f = 0.1;
F = KVBegin(L, lambda, n);
F = KVCircAperture(L / 4, 0, 0, F);
rand('seed', 1);
F(1:n, 1:n) = F(1:n, 1:n) .* exp(1i * rand(n));   % a complex field
printf('%6s %6s %12s %12s %12s\n', 'N', 'M', 'module [s]', 'peer [s]', 'module/peer');
per_sample = [];
for m = [256 1024]
  W = 40 * lambda * f / L;
  G = KVFraunhofer(f, W, m, F);                     % plans nothing; warms caches
  tm = inf; tp = inf;
  for r = 1:reps
    t0 = tic; G = KVFraunhofer(f, W, m, F); tm = min(tm, toc(t0));
    t0 = tic; H = fraunhofer_peer(f, W, m, F); tp = min(tp, toc(t0));
  end
  err = max(abs(G(:) - H(:))) / max(abs(G(:)));
  if err > 1e-10
    error('module and peer differ by %g at M = %d', err, m);
  end
  printf('%6d %6d %12.4f %12.4f %12.2f\n', n, m, tm, tp, tm / tp);
  per_sample(end + 1) = tm / m^2;
end
% KVForward at the same N onto M = 256 (its cost grows alike, N^2*M + N*M^2).
m = 256;
tf = inf;
for r = 1:reps
  t0 = tic; K = KVForward(f, 1e-3, m, F); tf = min(tf, toc(t0));
end
printf('per output sample at N = %d, M = %d: KVFraunhofer %.3g us, KVForward %.3g us (ratio %.2f)\n', ...
       n, m, 1e6 * per_sample(1), 1e6 * tf / m^2, per_sample(1) / (tf / m^2));
