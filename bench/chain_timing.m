function chain_timing(n, reps)
  % The chain of commands of bench/chain_timing.py, timed in Octave with
  % whatever build is first on the path: each step and the whole chain at
  % N (default 1024), the median of REPS (default 7) runs in ms; then one
  % call's cost at N = 64 and N = 8 (KVIntAttenuator, KVCircAperture), the
  % median over batches of calls, in microseconds per call. The Python
  % script prints the same rows, for a table of the two.
  %   octave-cli --eval "addpath('build/octave'); addpath('bench'); chain_timing"
  if nargin < 1, n = 1024; end
  if nargin < 2, reps = 7; end
  steps = {
    'KVBegin', @(F) KVBegin(20e-3, 633e-9, n)
    'KVGaussAperture', @(F) KVGaussAperture(4e-3, 0, 0, 1, F)
    'KVCircAperture', @(F) KVCircAperture(6e-3, 0, 0, F)
    'KVLens', @(F) KVLens(2, 0, 0, F)
    'KVZernike', @(F) KVZernike(4, 2, 6e-3, 1, F)
    'KVFresnelFFT', @(F) KVFresnelFFT(0.5, F)
    'KVAngularSpectrum', @(F) KVAngularSpectrum(0.2, F)
    'KVIntAttenuator', @(F) KVIntAttenuator(0.5, F)
    'KVIntensity', @(F) KVIntensity(1, F)
  };
  t = zeros(reps, rows(steps));
  for r = 1:reps
    F = [];
    for s = 1:rows(steps)
      f = steps{s, 2};
      tic;
      G = f(F);
      t(r, s) = toc;
      if s < rows(steps), F = G; end
    end
  end
  printf('Octave %s, N = %d, median of %d runs\n', OCTAVE_VERSION, n, reps);
  for s = 1:rows(steps)
    printf('  %-20s %9.3f ms\n', steps{s, 1}, 1e3 * median(t(:, s)));
  end
  printf('  %-20s %9.3f ms\n', 'chain', 1e3 * median(sum(t, 2)));
  for m = [64 8]
    F = KVBegin(1e-3, 1e-6, m);
    calls = {'KVIntAttenuator', @() KVIntAttenuator(0.5, F)
             'KVCircAperture', @() KVCircAperture(2e-4, 0, 0, F)};
    for c = 1:rows(calls)
      f = calls{c, 2};
      batch = 2000;
      b = zeros(1, reps);
      for r = 1:reps
        tic;
        for k = 1:batch
          G = f();
        end
        b(r) = toc / batch;
      end
      printf('  %-20s N = %-4d %7.2f us per call\n', calls{c, 1}, m, 1e6 * median(b));
    end
  end
end
