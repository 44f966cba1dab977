function T = planner_timing(build, sizes, levels)
  % Times FFTW's planner levels as a new session meets them: for each level
  % and grid size, a fresh octave-cli (no plans, no wisdom but the system's)
  % times the first call of KVFresnelFFT (which plans) and its later calls
  % (which reuse the plans), and another fresh one the same for Octave's own
  % fft2 at the same level, fftw('planner', ...). Prints the table and
  % returns it as a struct array. BUILD is the folder of the oct-files
  % (default build/octave), SIZES default [1024 2048], LEVELS default
  % {'estimate', 'measure'} ('patient' plans for minutes, cut short by
  % KVFftw('timelimit'), 10 s per plan by default).
  %   octave-cli --eval "addpath('bench'); planner_timing"
  if nargin < 1 || isempty(build)
    build = fullfile(fileparts(fileparts(mfilename('fullpath'))), 'build', 'octave');
  end
  if nargin < 2 || isempty(sizes), sizes = [1024 2048]; end
  if nargin < 3 || isempty(levels), levels = {'estimate', 'measure'}; end
  build = make_absolute_filename(build);
  octave = 'OCTAVE_HISTFILE=/dev/null octave-cli --no-gui --no-history --norc --quiet';
  % The field: a disc with a random phase; later calls: the median of three.
  body = ['F = KVRandomPhase(7, 3, KVCircAperture(1.5e-3, 0, 0, KVBegin(4e-3, 633e-9, %d)));' ...
          '%s t0 = tic; G = %s; t1 = toc(t0); t = zeros(1, 3);' ...
          'for k = 1:3, t0 = tic; G = %s; t(k) = toc(t0); end;' ...
          'printf(''%%.6f %%.6f\\n'', t1, median(t));'];
  T = struct('level', {}, 'n', {}, 'first', {}, 'later', {}, 'fft_first', {}, 'fft_later', {});
  printf('%-9s %5s %22s %22s %22s\n', 'level', 'N', 'KVFresnelFFT first [s]', ...
         'later calls [s]', 'fft2 first / later [s]');
  for i = 1:numel(levels)
    for n = sizes
      kv = sprintf(body, n, sprintf('KVFftw(''planner'', ''%s'');', levels{i}), ...
                   'KVFresnelFFT(0.2, F)', 'KVFresnelFFT(0.2, F)');
      oct = sprintf(body, n, sprintf('fftw(''planner'', ''%s''); U = F(1:end, 1:end-1);', levels{i}), ...
                    'fft2(U)', 'fft2(U)');
      a = run_fresh(octave, build, kv);
      b = run_fresh(octave, build, oct);
      T(end + 1) = struct('level', levels{i}, 'n', n, 'first', a(1), 'later', a(2), ...
                          'fft_first', b(1), 'fft_later', b(2));
      printf('%-9s %5d %22.3f %22.3f %10.3f / %9.3f\n', levels{i}, n, a(1), a(2), b(1), b(2));
    end
  end
  % Later calls, interleaved: a machine's load drifts between sessions, so
  % the levels' later calls are also timed in one session, in turns (each
  % level's plans made first in the order of LEVELS: wisdom of a later,
  % more rigorous level cannot serve an earlier one).
  printf('\nlater calls of KVFresnelFFT in one session, in turns (median of 9) [s]\n%5s', 'N');
  printf(' %10s', levels{:});
  printf('\n');
  for n = sizes
    script = sprintf(['F = KVRandomPhase(7, 3, KVCircAperture(1.5e-3, 0, 0, KVBegin(4e-3, 633e-9, %d)));' ...
                      'L = {%s}; t = zeros(9, numel(L));' ...
                      'for i = 1:numel(L), KVFftw(''planner'', L{i}); G = KVFresnelFFT(0.2, F); end;' ...
                      'for r = 1:9, for i = 1:numel(L), KVFftw(''planner'', L{i});' ...
                      't0 = tic; G = KVFresnelFFT(0.2, F); t(r, i) = toc(t0); end; end;' ...
                      'printf(''%%.6f '', median(t)); printf(''\\n'');'], n, ...
                     strjoin(cellfun(@(l) ['''' l ''''], levels, 'UniformOutput', false), ', '));
    v = run_fresh(octave, build, script, numel(levels));
    printf('%5d', n);
    printf(' %10.3f', v);
    printf('\n');
  end
end

function v = run_fresh(octave, build, script, count)
  if nargin < 4, count = 2; end
  [status, out] = system(sprintf('%s --eval "addpath(''%s''); %s"', octave, build, ...
                                 strrep(script, '"', '\"')));
  lines = strsplit(strtrim(out), "\n");
  v = sscanf(lines{end}, '%f');
  if status != 0 || numel(v) != count
    error('planner_timing: the child session failed:\n%s', out);
  end
end
