function body = performance_page(root, benchfile)
  % The body of the manual's performance page: doc/performance.html.in with
  % the tables and SVG plots of the measurement in BENCHFILE (written by
  % bench/bench_doc.m through make bench-doc). Without that file the page
  % shows the reference measurement that comes with the sources
  % (doc/bench-reference.txt, made the same way on the machine it names),
  % and says so plainly; without either, every section says how to measure.
  body = fileread(fullfile(root, 'doc', 'performance.html.in'));
  reference = fullfile(root, 'doc', 'bench-reference.txt');
  here = ~isempty(benchfile) && exist(benchfile, 'file');
  if ~here && ~exist(reference, 'file')
    note = ['<p class="note">Not measured on this machine yet: run <code>make bench-doc</code>, ' ...
            'then <code>make doc</code>.</p>'];
    for key = {'@MACHINE@', '@ELEMENTS@', '@FFT@', '@PLANNING@', '@FORWARD@', '@THREADS@'}
      body = strrep(body, key{1}, ifelse(strcmp(key{1}, '@MACHINE@'), note, ''));
    end
    return;
  end
  if here
    S = load(benchfile);
    origin = sprintf(['<p>Measured on this machine, the one that built this manual, by ' ...
                      '<code>make bench-doc</code> on %s:</p>\n'], esc(S.B.machine.date));
  else
    S = load(reference);
    origin = sprintf(['<p class="note">Not measured on this machine: these figures come from ' ...
                      'the reference measurement that comes with the sources ' ...
                      '(<code>doc/bench-reference.txt</code>), made by <code>make bench-doc</code> ' ...
                      'on %s, on the machine below (%s, %d processors). Run ' ...
                      '<code>make bench-doc</code>, then <code>make doc</code>, for the figures of ' ...
                      'this machine.</p>\n'], esc(S.B.machine.date), esc(S.B.machine.cpu), ...
                     S.B.machine.cores);
  end
  B = S.B;
  body = strrep(body, '@MACHINE@', [origin machine_html(B.machine)]);
  body = strrep(body, '@ELEMENTS@', elements_html(B.elements));
  body = strrep(body, '@FFT@', fft_html(B.fft));
  body = strrep(body, '@PLANNING@', planning_html(B.planning));
  body = strrep(body, '@FORWARD@', forward_html(B.forward));
  if isfield(B, 'fraunhofer')
    body = strrep(body, '@FRAUNHOFER@', fraunhofer_html(B.fraunhofer));
  else
    body = strrep(body, '@FRAUNHOFER@', '<p>Not measured in this run.</p>');
  end
  body = strrep(body, '@THREADS@', threads_html(B.threads));
end

function s = machine_html(m)
  s = sprintf(['<table class="bench">\n<tr><th>CPU</th><td>%s</td></tr>\n' ...
               '<tr><th>processors</th><td>%d</td></tr>\n<tr><th>BLAS</th><td>%s</td></tr>\n' ...
               '<tr><th>FFTW</th><td>%s; plans at level <code>%s</code></td></tr>\n' ...
               '<tr><th>Octave</th><td>%s</td></tr>\n<tr><th>measured</th><td>%s</td></tr>\n' ...
               '<tr><th>load average</th><td>%s before, %s after (1, 5 and 15 minutes)</td></tr>\n</table>\n'], ...
              esc(m.cpu), m.cores, esc(m.blas), esc(m.fftw), esc(m.planner), esc(m.octave), ...
              esc(m.date), esc(m.load_before), esc(m.load_after));
  if ~strcmp(m.mode, 'full')
    s = [s '<p class="note">A quick run on small grids, one call each: these figures only show ' ...
         'that the measurement works.</p>' "\n"];
  end
end

function s = elements_html(E)
  s = '';
  t_all = E.threads(end);
  for j = 1:numel(E.n)
    s = [s sprintf(['<p>N = %d; a forced copy of the field takes %s ms.</p>\n<table class="bench">\n' ...
                    '<tr><th>command</th><th>kind</th><th>1 thread</th><th>%d threads</th>' ...
                    '<th>Octave expression</th><th>ratio to the expression</th><th>ratio to the copy</th></tr>\n'], ...
                   E.n(j), ms(E.copy(j)), t_all)];
    for c = 1:numel(E.names)
      m2 = E.module(c, j, end);
      s = [s sprintf('<tr><td><a href="%s.html"><code>%s</code></a></td><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td></tr>\n', ...
                     E.names{c}, E.names{c}, E.kinds{c}, ms(E.module(c, j, 1)), ms(m2), ...
                     ms(E.octave(c, j)), ratio(m2, E.octave(c, j)), ratio(m2, E.copy(j)))];
    end
    s = [s "</table>\n"];
  end
  % Ratios at the largest size, at one and at all threads.
  j = numel(E.n);
  keep = ~isnan(E.octave(:, j));
  vals = [E.module(keep, j, 1) ./ E.octave(keep, j), E.module(keep, j, end) ./ E.octave(keep, j)];
  s = [s svg_bars(E.names(keep), vals, {'1 thread', sprintf('%d threads', t_all)}, ...
                  sprintf('time / Octave expression at N = %d', E.n(j)))];
end

function s = fft_html(F)
  t_all = F.threads(end);
  s = sprintf(['<table class="bench">\n<tr><th>N</th><th>propagator</th><th>1 thread</th>' ...
               '<th>%d threads</th><th><code>ifft2(fft2(U))</code></th><th>textbook code</th>' ...
               '<th>ratio to the pair</th><th>ratio to the textbook code</th></tr>\n'], t_all);
  for j = 1:numel(F.n)
    for r = 1:numel(F.names)
      m2 = F.module(r, j, end);
      s = [s sprintf('<tr><td>%d</td><td><a href="%s.html"><code>%s</code></a></td><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td></tr>\n', ...
                     F.n(j), F.names{r}, F.names{r}, ms(F.module(r, j, 1)), ms(m2), ms(F.pair(r, j)), ...
                     ms(F.textbook(r, j)), ratio(m2, F.pair(r, j)), ratio(m2, F.textbook(r, j)))];
    end
  end
  s = [s "</table>\n"];
  ys = [squeeze(F.module(1, :, end)); squeeze(F.module(2, :, end)); F.pair(1, :); F.textbook(1, :)];
  s = [s svg_lines(F.n, ys, {'KVFresnelFFT', 'KVAngularSpectrum', 'ifft2(fft2(U))', 'textbook (Fresnel)'}, ...
                   'N (samples per side)', 'time per call [s]', true)];
end

function s = planning_html(P)
  if all(isnan(P.first(:)))
    s = '<p class="note">Not measured: KVFftw was not built.</p>';
    return;
  end
  s = ['<table class="bench">' "\n" '<tr><th>level</th><th>N</th><th>first call</th>' ...
       '<th>later calls</th><th>planning</th><th>KVAngularSpectrum''s first call</th></tr>' "\n"];
  for i = 1:numel(P.levels)
    for j = 1:numel(P.n)
      s = [s sprintf('<tr><td><code>%s</code></td><td>%d</td><td>%s s</td><td>%s s</td><td>%s s</td><td>%s s</td></tr>\n', ...
                     P.levels{i}, P.n(j), sec(P.first(i, j)), sec(P.next(i, j)), ...
                     sec(max(P.first(i, j) - P.next(i, j), 0)), sec(P.other(i, j)))];
    end
  end
  s = [s "</table>\n"];
  if ~any(strcmp(P.levels, 'patient'))
    s = [s '<p class="note"><code>patient</code> was not timed (set <code>KORVANE_BENCH_PATIENT=1</code> ' ...
         'for <code>make bench-doc</code>; it can take many minutes).</p>' "\n"];
  end
end

function s = forward_html(W)
  t_all = W.threads(end);
  s = sprintf(['<table class="bench">\n<tr><th>N = M</th><th>1 thread [s]</th><th>%d threads [s]</th>' ...
               '<th>vectorized Octave [s]</th><th>ratio</th></tr>\n'], t_all);
  for j = 1:numel(W.n)
    s = [s sprintf('<tr><td>%d</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td></tr>\n', W.n(j), ...
                   sec(W.module(j, 1)), sec(W.module(j, end)), sec(W.peer(j)), ...
                   ratio(W.module(j, end), W.peer(j)))];
  end
  s = [s "</table>\n"];
  s = [s svg_lines(W.n, [W.module(:, end).'; W.peer], {'KVForward', 'vectorized Octave'}, ...
                   'N = M (samples per side)', 'time per call [s]', true)];
end

function s = fraunhofer_html(R)
  s = sprintf(['<table class="bench">\n<tr><th>N</th><th>M</th><th>KVFraunhofer [s]</th>' ...
               '<th>vectorized Octave [s]</th><th>ratio</th></tr>\n']);
  for j = 1:numel(R.m)
    s = [s sprintf('<tr><td>%d</td><td>%d</td><td>%s</td><td>%s</td><td>%s</td></tr>\n', R.n, R.m(j), ...
                   sec(R.module(j)), sec(R.peer(j)), ratio(R.module(j), R.peer(j)))];
  end
  s = [s "</table>\n"];
  s = [s sprintf(['<p>Per output sample at N = %d, M = %d: KVFraunhofer %.3g &micro;s, ' ...
                  'KVForward onto the same grid %.3g &micro;s.</p>\n'], R.n, R.m(1), ...
                 1e6 * R.module(1) / R.m(1)^2, 1e6 * R.forward / R.m(1)^2)];
end

function s = threads_html(T)
  s = sprintf(['<p>At N = %d (KVForward as noted), against the value of ' ...
               '<code>KORVANE_NUM_THREADS</code>; speed-up is the time at 1 thread over the time at k.</p>\n' ...
               '<table class="bench">\n<tr><th>command</th>'], T.n);
  for k = T.counts
    s = [s sprintf('<th>%d</th>', k)];
  end
  s = [s "<th>speed-up</th></tr>\n"];
  for c = 1:numel(T.names)
    s = [s sprintf('<tr><td><code>%s</code></td>', esc(T.names{c}))];
    for k = 1:numel(T.counts)
      s = [s sprintf('<td>%s</td>', ms(T.time(c, k)))];
    end
    s = [s sprintf('<td>%.2f</td></tr>\n', T.time(c, 1) / T.time(c, end))];
  end
  s = [s "</table>\n"];
  if numel(T.counts) > 1
    speed = T.time(:, 1) ./ T.time;
    s = [s svg_lines(T.counts, [speed; T.counts], [T.names, {'ideal'}], 'threads', 'speed-up', false)];
  end
end

function t = ms(v)
  if isnan(v)
    t = '&ndash;';
  elseif v >= 0.1
    t = sprintf('%.0f', 1e3 * v);
  else
    t = sprintf('%.1f', 1e3 * v);
  end
end

function t = sec(v)
  if isnan(v)
    t = '&ndash;';
  else
    t = sprintf('%.3g', v);
  end
end

function t = ratio(a, b)
  if isnan(a) || isnan(b) || b == 0
    t = '&ndash;';
  else
    t = sprintf('%.2f', a / b);
  end
end

function v = ifelse(c, a, b)
  if c, v = a; else, v = b; end
end

function s = esc(s)
  s = strrep(s, '&', '&amp;');
  s = strrep(s, '<', '&lt;');
  s = strrep(s, '>', '&gt;');
end

function s = svg_bars(labels, vals, series, title)
  % Horizontal bars, one group per label, one bar per column of VALS, with
  % a dashed line at 1.
  colours = {'#9fb8d6', '#1f3a5f'};
  nl = numel(labels);
  ns = columns(vals);
  L = 170; R = 30; T = 34; B = 40; bar = 7; gap = 6;
  H = T + B + nl * (ns * bar + gap);
  W = 620;
  top = max([vals(:); 1]) * 1.05;
  X = @(v) L + v / top * (W - L - R);
  s = sprintf('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d" class="plot">\n', W, H, W, H);
  s = [s sprintf('<text x="%d" y="18" font-size="13">%s</text>\n', L, esc(title))];
  for k = 0:0.25:top
    s = [s sprintf('<line x1="%.1f" x2="%.1f" y1="%d" y2="%d" stroke="#eee"/><text x="%.1f" y="%d" font-size="11" text-anchor="middle">%.2g</text>\n', ...
                   X(k), X(k), T, H - B, X(k), H - B + 14, k)];
  end
  for i = 1:nl
    y0 = T + (i - 1) * (ns * bar + gap);
    s = [s sprintf('<text x="%d" y="%.1f" font-size="11" text-anchor="end">%s</text>\n', L - 6, y0 + ns * bar / 2 + 4, esc(labels{i}))];
    for k = 1:ns
      if ~isnan(vals(i, k))
        s = [s sprintf('<rect x="%d" y="%.1f" width="%.1f" height="%d" fill="%s"/>\n', L, y0 + (k - 1) * bar, ...
                       X(vals(i, k)) - L, bar - 1, colours{1 + mod(k - 1, 2)})];
      end
    end
  end
  s = [s sprintf('<line x1="%.1f" x2="%.1f" y1="%d" y2="%d" stroke="#c0392b" stroke-dasharray="4 3"/>\n', X(1), X(1), T, H - B)];
  for k = 1:ns
    s = [s sprintf('<rect x="%d" y="%d" width="10" height="10" fill="%s"/><text x="%d" y="%d" font-size="12">%s</text>\n', ...
                   L + 110 * (k - 1), H - 16, colours{1 + mod(k - 1, 2)}, L + 110 * (k - 1) + 14, H - 7, esc(series{k}))];
  end
  s = [s "</svg>\n"];
end

function s = svg_lines(x, ys, labels, xlabel, ylabel, logscale)
  % One line per row of YS against X; log-log axes when LOGSCALE.
  colours = {'#c0392b', '#2471a3', '#7d3c98', '#229954', '#b9770e', '#566573', '#17a589', '#884ea0', '#999999'};
  W = 620; H = 360; L = 70; R = 20; T = 20; B = 50;
  x = x(:).';
  ok = ys(~isnan(ys) & ys > 0);
  if logscale
    fx = @log10;
    xl = log10([min(x) / 1.3, max(x) * 1.3]);
    yl = [floor(log10(min(ok))), ceil(log10(max(ok)))];
    if diff(yl) == 0, yl(2) += 1; end
    ticks = 10 .^ (yl(1):yl(2));
  else
    fx = @(v) v;
    xl = [min(x) - 0.3, max(x) + 0.3];
    yl = [0, ceil(max(ok) * 1.1)];
    ticks = 0:max(1, ceil(diff(yl) / 6)):yl(2);
  end
  X = @(v) L + (fx(v) - xl(1)) / diff(xl) * (W - L - R);
  Y = @(v) H - B - (fx(v) - yl(1)) / diff(yl) * (H - T - B);
  s = sprintf('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d" class="plot">\n', W, H, W, H);
  s = [s sprintf('<rect x="%d" y="%d" width="%d" height="%d" fill="none" stroke="#444"/>\n', L, T, W - L - R, H - T - B)];
  for v = ticks
    lab = ifelse(logscale, sprintf('%g', v), sprintf('%g', v));
    s = [s sprintf('<line x1="%d" x2="%d" y1="%.1f" y2="%.1f" stroke="#ddd"/><text x="%d" y="%.1f" text-anchor="end" font-size="12">%s</text>\n', ...
                   L, W - R, Y(v), Y(v), L - 6, Y(v) + 4, lab)];
  end
  for v = x
    s = [s sprintf('<text x="%.1f" y="%d" text-anchor="middle" font-size="12">%d</text>\n', X(v), H - B + 18, v)];
  end
  s = [s sprintf('<text x="%.1f" y="%d" text-anchor="middle" font-size="13">%s</text>\n', (L + W - R) / 2, H - 10, esc(xlabel))];
  s = [s sprintf('<text x="16" y="%.1f" font-size="13" transform="rotate(-90 16 %.1f)" text-anchor="middle">%s</text>\n', ...
                 (T + H - B) / 2, (T + H - B) / 2, esc(ylabel))];
  for c = 1:rows(ys)
    col = colours{1 + mod(c - 1, numel(colours))};
    if strcmp(labels{c}, 'ideal')
      col = '#999999';
    end
    good = ~isnan(ys(c, :)) & ys(c, :) > 0;
    if ~any(good), continue; end
    pts = sprintf('%.1f,%.1f ', [X(x(good)); Y(ys(c, good))]);
    dash = ifelse(strcmp(labels{c}, 'ideal'), ' stroke-dasharray="5 4"', '');
    s = [s sprintf('<polyline points="%s" fill="none" stroke="%s" stroke-width="2"%s/>\n', pts, col, dash)];
    for k = find(good)
      s = [s sprintf('<circle cx="%.1f" cy="%.1f" r="3" fill="%s"/>\n', X(x(k)), Y(ys(c, k)), col)];
    end
    s = [s sprintf('<text x="%d" y="%d" font-size="12" fill="%s">%s</text>\n', L + 10, T + 16 * c, col, esc(labels{c}))];
  end
  s = [s "</svg>\n"];
end
