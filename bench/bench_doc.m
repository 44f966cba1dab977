function B = bench_doc(outfile, mode)
  % Times the three families of commands on this machine and saves what the
  % manual's performance page shows (doc/make_doc.m reads it): the element
  % commands against their Octave expressions and a forced copy, the FFT
  % propagators against Octave's FFT pair and the textbook transfer-function
  % code, the FFTW planning times, KVForward against its vectorized peer, and
  % time against thread count; with the machine's CPU, core count, BLAS,
  % FFTW and planner level, and its load average before and after.
  %
  %   bench_doc(OUTFILE)          the full measurement (several minutes)
  %   bench_doc(OUTFILE, 'quick') small grids and one run each: checks the
  %                               pipeline, the figures mean nothing
  %
  % Run it through make (it builds the modules first and writes
  % build/bench-doc/bench.txt), then make the manual:
  %   make bench-doc && make doc
  % The 'patient' planner level is timed only where KORVANE_BENCH_PATIENT
  % is set (it can take many minutes at N = 1024 and more at 2048).
  if nargin < 2
    mode = 'full';
  end
  quick = strcmp(mode, 'quick');
  if quick
    elem_sizes = [64 128]; fft_sizes = [64 128]; plan_sizes = [64 128];
    fwd_sizes = [32 64]; fwd_peer_max = 64; thread_n = 128; reps = 1; fr_n = 64; fr_m = [16 64];
  else
    elem_sizes = [1024 2048]; fft_sizes = [512 1024 2048]; plan_sizes = [1024 2048];
    fwd_sizes = [128 256 512 1024]; fwd_peer_max = 512; thread_n = 2048; reps = 5;
    fr_n = 1024; fr_m = [256 1024];
  end
  have_fftw = exist('KVFftw') == 3;
  cores = nproc();
  counts = unique([1, 2 .^ (1:floor(log2(cores))), cores]);
  old_threads = getenv('KORVANE_NUM_THREADS');

  B = struct();
  B.machine = machine(have_fftw);
  B.machine.mode = mode;
  printf('%s, %d cores; %s; %s; load average %s\n', B.machine.cpu, B.machine.cores, ...
         B.machine.blas, B.machine.fftw, B.machine.load_before);

  % FFTW planning first, each level at sizes its plans have not seen yet,
  % from the least to the most rigorous (wisdom of a more rigorous level
  % would serve a less rigorous one at once).
  set_threads(cores);
  levels = {'estimate', 'measure'};
  if ~isempty(getenv('KORVANE_BENCH_PATIENT'))
    levels{end + 1} = 'patient';
  end
  default_level = 'measure';
  if have_fftw
    default_level = KVFftw('planner');
  end
  B.planning = struct('n', plan_sizes, 'levels', {levels}, 'first', nan(numel(levels), numel(plan_sizes)), ...
                      'next', nan(numel(levels), numel(plan_sizes)), 'other', nan(numel(levels), numel(plan_sizes)));
  if have_fftw
    for j = 1:numel(plan_sizes)
      n = plan_sizes(j);
      F = fft_field(n);
      for i = 1:numel(levels)
        KVFftw('planner', levels{i});
        t0 = tic; G = KVFresnelFFT(0.01, F); B.planning.first(i, j) = toc(t0);
        B.planning.next(i, j) = timed(@() KVFresnelFFT(0.01, F), max(reps, 3));
        % Another command at the same size and level: from wisdom.
        t0 = tic; G = KVAngularSpectrum(0.01, F); B.planning.other(i, j) = toc(t0);
        printf('planning %-8s N = %4d: first call %8.3f s, later calls %7.3f s, KVAngularSpectrum''s first %7.3f s\n', ...
               levels{i}, n, B.planning.first(i, j), B.planning.next(i, j), B.planning.other(i, j));
      end
    end
    KVFftw('planner', default_level);
    % FFTW uses wisdom at every level: without this, the measured plans
    % above would serve the default level's plans made below, and the page
    % would show measured plans under the default's name.
    try
      fftw('dwisdom', '');
    catch
    end
  end
  B.machine.planner = default_level;

  % Element commands: every thread count of `counts` at the largest size,
  % one and all threads elsewhere.
  listing = element_cases(8);
  names = listing(:, 1);
  B.elements = struct('names', {names'}, 'kinds', {listing(:, 4)'}, 'n', elem_sizes, ...
                      'threads', [1, cores], 'module', nan(numel(names), numel(elem_sizes), 2), ...
                      'octave', nan(numel(names), numel(elem_sizes)), 'copy', nan(1, numel(elem_sizes)));
  for j = 1:numel(elem_sizes)
    n = elem_sizes(j);
    [cases, F] = element_cases(n);
    B.elements.copy(j) = interleaved({@() forced_copy(F)}, NaN, reps);
    for c = 1:rows(cases)
      th = B.elements.threads;
      if ~isempty(cases{c, 3})
        t = interleaved({cases{c, 3}, cases{c, 2}, cases{c, 2}}, [NaN th], reps);
        B.elements.octave(c, j) = t(1);
        B.elements.module(c, j, :) = t(2:3);
      else
        B.elements.module(c, j, :) = interleaved({cases{c, 2}, cases{c, 2}}, th, reps);
      end
    end
    print_elements(B.elements, j);
  end

  % The FFT propagators, after their first call at each size.
  B.fft = struct('n', fft_sizes, 'threads', [1, cores], 'names', {{'KVFresnelFFT', 'KVAngularSpectrum'}}, ...
                 'module', nan(2, numel(fft_sizes), 2), 'textbook', nan(2, numel(fft_sizes)), ...
                 'pair', nan(2, numel(fft_sizes)));
  for j = 1:numel(fft_sizes)
    n = fft_sizes(j);
    [F, U, f, L] = fft_field(n);
    lambda = F(2, n + 1);
    z = n * (L / n)^2 / lambda / 2;
    runs = {@() KVFresnelFFT(z, F), @() fresnel_peer(U, f, lambda, z);
            @() KVAngularSpectrum(z, F), @() angular_peer(U, f, lambda, z, L)};
    for r = 1:2
      G = runs{r, 1}();  % plans, if this size has no plan yet
      P = runs{r, 2}();
      err = max(abs(G(1:n, 1:n)(:) - P(:))) / max(abs(P(:)));
      if err > 1e-10
        error('bench_doc: %s and its peer differ by %g at N = %d', B.fft.names{r}, err, n);
      end
      t = interleaved({runs{r, 2}, @() ifft2(fft2(U)), runs{r, 1}, runs{r, 1}}, [NaN NaN B.fft.threads], reps);
      B.fft.textbook(r, j) = t(1);
      B.fft.pair(r, j) = t(2);  % measured alongside
      B.fft.module(r, j, :) = t(3:4);
    end
    for r = 1:2
      printf('N = %4d %-18s %7.1f / %7.1f ms (1 / %d threads); ifft2(fft2(U)) %7.1f ms, textbook %7.1f ms; ratio to the pair %.2f\n', ...
             n, B.fft.names{r}, 1e3 * B.fft.module(r, j, 1), 1e3 * B.fft.module(r, j, 2), cores, ...
             1e3 * B.fft.pair(r, j), 1e3 * B.fft.textbook(r, j), B.fft.module(r, j, 2) / B.fft.pair(r, j));
    end
  end

  % KVForward against its vectorized peer (bench/forward_peer.m).
  B.forward = struct('n', fwd_sizes, 'threads', [1, cores], 'module', nan(numel(fwd_sizes), 2), ...
                     'peer', nan(1, numel(fwd_sizes)));
  for j = 1:numel(fwd_sizes)
    n = fwd_sizes(j);
    F = KVBegin(2e-3, 633e-9, n);
    F = KVCircAperture(0.6e-3, 0, 0, F);
    F(1:n, 1:n) = F(1:n, 1:n) .* exp(1i * rand(n));
    r = ifelse(n >= 1024, 1, 3);
    for t = 1:2
      set_threads(B.forward.threads(t));
      [B.forward.module(j, t), G] = best(@() KVForward(0.5, 2e-3, n, F), r);
    end
    if n <= fwd_peer_max
      [B.forward.peer(j), H] = best(@() forward_peer(0.5, 2e-3, n, F), r);
      err = max(abs(G(:) - H(:))) / max(abs(G(:)));
      if err > 1e-11
        error('bench_doc: KVForward and its peer differ by %g at N = %d', err, n);
      end
    end
    printf('KVForward N = M = %4d: %8.4f / %8.4f s (1 / %d threads), peer %8.4f s\n', n, ...
           B.forward.module(j, 1), B.forward.module(j, 2), cores, B.forward.peer(j));
  end

  % KVFraunhofer against its vectorized peer (bench/fraunhofer_peer.m), and
  % KVForward onto the same grid for the time per output sample.
  n = fr_n;
  F = KVBegin(10e-3, 633e-9, n);
  F = KVCircAperture(2.5e-3, 0, 0, F);
  F(1:n, 1:n) = F(1:n, 1:n) .* exp(1i * rand(n));
  W = 40 * 633e-9 * 0.1 / 10e-3;
  B.fraunhofer = struct('n', n, 'm', fr_m, 'module', nan(1, numel(fr_m)), ...
                        'peer', nan(1, numel(fr_m)), 'forward', NaN);
  for j = 1:numel(fr_m)
    m = fr_m(j);
    [B.fraunhofer.module(j), G] = best(@() KVFraunhofer(0.1, W, m, F), min(reps, 3));
    [B.fraunhofer.peer(j), H] = best(@() fraunhofer_peer(0.1, W, m, F), min(reps, 3));
    err = max(abs(G(:) - H(:))) / max(abs(G(:)));
    if err > 1e-10
      error('bench_doc: KVFraunhofer and its peer differ by %g at M = %d', err, m);
    end
    printf('KVFraunhofer N = %d, M = %4d: %8.4f s, peer %8.4f s (ratio %.2f)\n', n, m, ...
           B.fraunhofer.module(j), B.fraunhofer.peer(j), B.fraunhofer.module(j) / B.fraunhofer.peer(j));
  end
  B.fraunhofer.forward = best(@() KVForward(0.1, W, fr_m(1), F), 1);
  printf('KVForward N = %d, M = %4d: %8.4f s\n', n, fr_m(1), B.fraunhofer.forward);

  % Time against thread count, at one size.
  n = thread_n;
  [cases, F] = element_cases(n);
  pick = {'KVLens', 'KVZernike', 'KVGaussAperture', 'KVCircAperture', 'KVIntensity'};
  [Ff, ~, ~, L] = fft_field(n);
  zf = n * (L / n)^2 / Ff(2, n + 1) / 2;
  Fw = KVBegin(2e-3, 633e-9, n / 4);
  fns = [cellfun(@(p) cases{strcmp(cases(:, 1), p), 2}, pick, 'UniformOutput', false), ...
         {@() KVFresnelFFT(zf, Ff), @() KVForward(0.5, 2e-3, n / 4, Fw)}];
  labels = [pick, {'KVFresnelFFT', sprintf('KVForward (N = %d)', n / 4)}];
  B.threads = struct('n', n, 'counts', counts, 'names', {labels}, 'time', nan(numel(fns), numel(counts)));
  for c = 1:numel(fns)
    G = fns{c}();  % plans, tables
    B.threads.time(c, :) = interleaved(repmat(fns(c), 1, numel(counts)), counts, reps);
    printf('%-22s %s ms at %s threads\n', labels{c}, mat2str(round(1e4 * B.threads.time(c, :)) / 10), ...
           mat2str(counts));
  end

  setenv('KORVANE_NUM_THREADS', old_threads);
  if isempty(old_threads)
    unsetenv('KORVANE_NUM_THREADS');
  end
  B.machine.load_after = load_average();
  printf('load average afterwards %s\n', B.machine.load_after);
  if nargin > 0 && ~isempty(outfile)
    d = fileparts(outfile);
    if ~isempty(d) && ~exist(d, 'dir')
      mkdir(d);
    end
    save('-text', outfile, 'B');
    printf('written to %s\n', outfile);
  end
end

function m = machine(have_fftw)
  m.cpu = 'unknown CPU';
  txt = '';
  if exist('/proc/cpuinfo', 'file')
    txt = fileread('/proc/cpuinfo');
  end
  tok = regexp(txt, 'model name\s*:\s*([^\n]*)', 'tokens', 'once');
  if ~isempty(tok)
    m.cpu = strtrim(tok{1});
  elseif ismac()
    [st, out] = system('sysctl -n machdep.cpu.brand_string');
    if st == 0, m.cpu = strtrim(out); end
  end
  m.cores = nproc();
  m.blas = strtrim(version('-blas'));
  m.fftw = strtrim(version('-fftw'));
  m.octave = OCTAVE_VERSION;
  m.have_fftw_helper = have_fftw;
  m.date = datestr(now(), 'yyyy-mm-dd HH:MM');
  m.load_before = load_average();
  m.load_after = '';
end

function s = load_average()
  s = 'unknown';
  if exist('/proc/loadavg', 'file')
    v = sscanf(fileread('/proc/loadavg'), '%f', 3);
    s = sprintf('%.2f %.2f %.2f', v);
  end
end

function set_threads(t)
  setenv('KORVANE_NUM_THREADS', sprintf('%d', t));
end

function G = forced_copy(F)
  G = F;
  G(1) = 0;  % the copy happens here
end

function t = interleaved(fns, threads, reps)
  % The median time of each function, in seconds, over REPS rounds that
  % call each once in turn, with KORVANE_NUM_THREADS = THREADS(k) (NaN:
  % as it is).
  ts = zeros(reps, numel(fns));
  for r = 1:reps
    for k = 1:numel(fns)
      if ~isnan(threads(k))
        set_threads(threads(k));
      end
      t0 = tic; G = fns{k}(); ts(r, k) = toc(t0); clear G;
    end
  end
  t = median(ts, 1);
end

function t = timed(fn, reps)
  % The median of REPS calls, in seconds.
  ts = zeros(reps, 1);
  for r = 1:reps
    t0 = tic; G = fn(); ts(r) = toc(t0); clear G;
  end
  t = median(ts);
end

function [t, G] = best(fn, reps)
  % The best of REPS calls, in seconds, and the last result.
  t = inf;
  for r = 1:reps
    t0 = tic; G = fn(); t = min(t, toc(t0));
  end
end

function v = ifelse(c, a, b)
  if c, v = a; else, v = b; end
end

function [F, U, f, L] = fft_field(n)
  L = 10e-3;
  lambda = 633e-9;
  d = L / n;
  x = ((0:n-1) - floor(n / 2)) * d;
  [X, Y] = meshgrid(x, x);
  randn('state', 1);
  U = exp(-(X.^2 + Y.^2) / (1e-3)^2) .* exp(1i * 0.3 * randn(n));
  F = KVBegin(L, lambda, n);
  F(1:n, 1:n) = U;
  p = 0:n-1;
  p(p > n / 2) -= n;
  f = p / L;
end



function print_elements(E, j)
  printf('\nN = %d; forced copy %.1f ms; times in ms at 1 / %d threads\n', E.n(j), 1e3 * E.copy(j), E.threads(2));
  printf('%-22s %8s %9s %9s %9s %7s %7s\n', 'command', 'kind', '1 thr', 'all', 'Octave', 'ratio', '/copy');
  for c = 1:numel(E.names)
    m1 = 1e3 * E.module(c, j, 1); m2 = 1e3 * E.module(c, j, 2); o = 1e3 * E.octave(c, j);
    printf('%-22s %8s %9.1f %9.1f %9.1f %7.2f %7.2f\n', E.names{c}, E.kinds{c}, m1, m2, o, m2 / o, ...
           m2 / (1e3 * E.copy(j)));
  end
end
