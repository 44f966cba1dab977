% Times KVFresnelFFT and KVAngularSpectrum at N = 512, 1024, 2048 against
% their vectorized Octave peer ifft2(fft2(U).*H) (H computed in the timing),
% against bare ifft2(fft2(U)) on the same array, and against KVForward onto
% the same grid; checks that module and peer agree. Medians of interleaved
% runs. Run from the repo root with the modules on the path, e.g.
%   octave-cli --eval "addpath('build/octave'); addpath('bench'); fft_timing"
% Octave's fft2 uses FFTW with as many threads as processors, and so do the
% modules.
function fft_timing(sizes, reps)
  if nargin < 1
    sizes = [512 1024 2048];
  end
  if nargin < 2
    reps = 7;
  end
  lambda = 633e-9;
  printf('%d processor(s); medians of %d interleaved runs (KVForward: 3, up to N = 1024)\n', ...
         nproc(), reps);
  printf('%5s %-18s %10s %10s %10s %10s %8s %8s\n', 'N', 'propagator', 'module ms', ...
         'peer ms', 'fft2 ms', 'KVFwd ms', 'peer/mod', 'mod/fft2');
  for n = sizes
    L = 10e-3;
    d = L / n;
    x = ((0:n-1) - floor(n / 2)) * d;
    [X, Y] = meshgrid(x, x);
    U = exp(-(X.^2 + Y.^2) / (1e-3)^2) .* exp(1i * 0.3 * randn(n));
    F = KVBegin(L, lambda, n);
    F(1:n, 1:n) = U;
    zc = n * d^2 / lambda;
    z = zc / 2;
    % KVForward spaces its samples by size/(N - 1): give it that size, and
    % ask for an output spacing d.
    Ff = F;
    Ff(1, n + 1) = d * (n - 1);
    p = 0:n-1;
    p(p > n / 2) -= n;
    f = p / L;
    runs = {
      'KVFresnelFFT', @() KVFresnelFFT(z, F), @() fresnel_peer(U, f, lambda, z);
      'KVAngularSpectrum', @() KVAngularSpectrum(z, F), @() angular_peer(U, f, lambda, z, L)
    };
    for r = 1:rows(runs)
      G = runs{r, 2}();
      P = runs{r, 3}();
      err = max(abs(G(1:n, 1:n)(:) - P(:))) / max(abs(P(:)));
      if err > 1e-10
        error('%s and its peer differ by %g at N = %d', runs{r, 1}, err, n);
      end
      tm = zeros(reps, 1);
      tp = tm;
      tb = tm;
      for k = 1:reps
        t0 = tic; G = runs{r, 2}(); tm(k) = toc(t0);
        t0 = tic; P = runs{r, 3}(); tp(k) = toc(t0);
        t0 = tic; B = ifft2(fft2(U)); tb(k) = toc(t0);
      end
      tf = NaN;
      if r == 1 && n <= 1024
        tfs = zeros(3, 1);
        for k = 1:3
          t0 = tic; K = KVForward(z, d * (n - 1), n, Ff); tfs(k) = toc(t0);
        end
        tf = median(tfs);
      end
      printf('%5d %-18s %10.1f %10.1f %10.1f %10.1f %8.2f %8.2f\n', n, runs{r, 1}, ...
             1e3 * median(tm), 1e3 * median(tp), 1e3 * median(tb), 1e3 * tf, ...
             median(tp) / median(tm), median(tm) / median(tb));
    end
  end
end


