function bench_compare(before, after)
  % Prints two measurements of bench_doc.m side by side: BEFORE (say, an
  % older build's, run at one thread) and AFTER, the element commands, the
  % FFT propagators and KVForward, in ms, with the ratios the goals are
  % stated in (command / Octave expression, command / forced copy, FFT
  % propagator / ifft2(fft2(U))). Times of AFTER at one thread and at all.
  %   octave-cli --eval "addpath('bench'); bench_compare('old/bench.txt', 'build/bench-doc/bench.txt')"
  A = load(before).B;
  B = load(after).B;
  printf('before: %s, load %s / %s\nafter:  %s, load %s / %s\n', A.machine.date, ...
         A.machine.load_before, A.machine.load_after, B.machine.date, B.machine.load_before, ...
         B.machine.load_after);
  E0 = A.elements; E1 = B.elements;
  for j = 1:numel(E1.n)
    j0 = find(E0.n == E1.n(j));
    if isempty(j0), continue; end
    t = E1.threads(end);
    printf('\nN = %d, ms (forced copy %.1f before, %.1f after)\n', E1.n(j), 1e3 * E0.copy(j0), 1e3 * E1.copy(j));
    printf('%-22s %8s %9s %9s %9s %9s %10s %10s %10s\n', 'command', 'kind', 'before', '1 thr', ...
           sprintf('%d thr', t), 'Octave', 'bef/Oct', 'aft/Oct', 'aft/copy');
    for c = 1:numel(E1.names)
      c0 = find(strcmp(E0.names, E1.names{c}));
      b = NaN;
      bo = NaN;
      if ~isempty(c0)
        b = E0.module(c0, j0, 1);
        bo = b / E0.octave(c0, j0);
      end
      m1 = E1.module(c, j, 1); m2 = E1.module(c, j, end); o = E1.octave(c, j);
      printf('%-22s %8s %9.1f %9.1f %9.1f %9.1f %10.2f %10.2f %10.2f\n', E1.names{c}, E1.kinds{c}, ...
             1e3 * b, 1e3 * m1, 1e3 * m2, 1e3 * o, bo, m2 / o, m2 / E1.copy(j));
    end
  end
  F0 = A.fft; F1 = B.fft;
  printf('\nFFT propagators, ms: before / after at 1 and %d threads; ifft2(fft2(U)) alongside\n', F1.threads(end));
  for j = 1:numel(F1.n)
    j0 = find(F0.n == F1.n(j));
    for r = 1:2
      b = NaN; bp = NaN;
      if ~isempty(j0)
        b = F0.module(r, j0, 1); bp = F0.pair(r, j0);
      end
      printf('N = %4d %-18s before %7.1f (%.2f of the pair)   after %7.1f / %7.1f (%.2f of the pair)\n', ...
             F1.n(j), F1.names{r}, 1e3 * b, b / bp, 1e3 * F1.module(r, j, 1), 1e3 * F1.module(r, j, end), ...
             F1.module(r, j, end) / F1.pair(r, j));
    end
  end
  W0 = A.forward; W1 = B.forward;
  printf('\nKVForward, s: before / after at 1 and %d threads, and the peer\n', W1.threads(end));
  for j = 1:numel(W1.n)
    j0 = find(W0.n == W1.n(j));
    b = NaN; bp = NaN;
    if ~isempty(j0)
      b = W0.module(j0, 1); bp = W0.peer(j0);
    end
    printf('N = M = %4d before %8.4f (%.2f of the peer)   after %8.4f / %8.4f (%.2f of the peer)\n', W1.n(j), ...
           b, b / bp, W1.module(j, 1), W1.module(j, end), W1.module(j, end) / W1.peer(j));
  end
end
