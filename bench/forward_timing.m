% Times KVForward against its vectorized Octave peer (bench/forward_peer.m)
% at N = M = 128 ... 1024, and checks that the two agree. Run from the repo
% root with the modules on the path, e.g.
%   octave-cli --eval "addpath('build/octave'); addpath('bench'); forward_timing"
% With OpenBLAS, OPENBLAS_NUM_THREADS sets its threads; for Debian's
% reference BLAS, put its directory first in LD_LIBRARY_PATH.
sizes = [128 256 512 1024];
reps = 3;
prev = NaN;
printf('%6s %12s %12s %12s %8s\n', 'N', 'module [s]', 'peer [s]', 'peer/module', 'growth');
for n = sizes
  F = KVBegin(2e-3, 633e-9, n);
  F = KVCircAperture(0.6e-3, 0, 0, F);
  F(1:n, 1:n) = F(1:n, 1:n) .* exp(1i * rand(n));
  tm = inf;
  for r = 1:reps
    t0 = tic; G = KVForward(0.5, 2e-3, n, F); tm = min(tm, toc(t0));
  end
  tp = NaN;
  if n <= 512
    tp = inf;
    for r = 1:reps
      t0 = tic; H = forward_peer(0.5, 2e-3, n, F); tp = min(tp, toc(t0));
    end
    err = max(abs(G(:) - H(:))) / max(abs(G(:)));
    if err > 1e-11
      error('module and peer differ by %g at N = %d', err, n);
    end
  end
  printf('%6d %12.4f %12.4f %12.1f %8.2f\n', n, tm, tp, tp / tm, tm / prev);
  prev = tm;
end
