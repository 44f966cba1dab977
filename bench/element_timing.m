function element_timing(sizes, reps)
  % Times every element command at each N in SIZES (default 1024 and 2048)
  % with whatever build is first on the path, against the vectorized Octave
  % expression that does the same on the N x N samples where there is one
  % (bench/element_cases.m), and against a forced copy of the field. Prints
  % the median of REPS (default 7) interleaved runs in ms, the ratio
  % command/expression and command/copy. KORVANE_NUM_THREADS sets the
  % commands' threads.
  %   octave-cli --eval "addpath('build/octave'); addpath('bench'); element_timing"
  if nargin < 1, sizes = [1024 2048]; end
  if nargin < 2, reps = 7; end
  for n = sizes
    [cases, F] = element_cases(n);
    tc = nan(reps, 1);
    for r = 1:reps
      tic; G = F; G(1) = 0; tc(r) = toc; clear G;
    end
    copy = median(tc) * 1e3;
    printf('\nN = %d (median of %d runs, ms; a forced copy of the field: %.1f ms)\n', n, reps, copy);
    printf('%-22s %8s %10s %10s %8s %8s\n', 'command', 'kind', 'command', 'Octave', 'ratio', '/copy');
    for c = 1:rows(cases)
      t = nan(reps, 2);
      for r = 1:reps
        tic; G = cases{c, 2}(); t(r, 1) = toc; clear G;
        if ~isempty(cases{c, 3})
          tic; G = cases{c, 3}(); t(r, 2) = toc; clear G;
        end
      end
      m = median(t, 1) * 1e3;
      printf('%-22s %8s %10.1f %10.1f %8.2f %8.2f\n', cases{c, 1}, cases{c, 4}, m(1), m(2), ...
             m(1) / m(2), m(1) / copy);
    end
  end
end
