function status = pkg_check(tarball, root)
  % Installs the package TARBALL into the throw-away folder ROOT (its own
  % prefix and package lists: the user's are never read or written), loads
  % it, and checks it: the package's own tests (pkg test), help texts, every
  % demo, a short chain of commands; then uninstalls it and checks that
  % nothing is left. Prints one line per check and "N passed, M failed";
  % returns 0 when all pass.
  npass = 0;
  nfail = 0;
  function check(ok, what, detail)
    if (ok)
      npass += 1;
      printf('  ok    %s\n', what);
    else
      nfail += 1;
      printf('  FAIL  %s\n', what);
      if (nargin > 2 && ! isempty(detail))
        printf('%s\n', detail);
      end
    end
  end

  prefix = fullfile(root, 'share');
  archprefix = fullfile(root, 'lib');
  pkg('prefix', prefix, archprefix);
  pkg('local_list', fullfile(root, 'octave_packages'));
  pkg('global_list', fullfile(root, 'octave_packages_global'));
  warning('off', 'Octave:gnuplot-graphics');
  graphics_toolkit('gnuplot');
  set(0, 'defaultfigurevisible', 'off');

  try
    out = evalc('pkg(''install'', ''-local'', tarball)');
    ok = true;
  catch err
    out = err.message;
    ok = false;
  end
  check(ok, 'pkg install', out);
  if (! ok)
    printf('%d passed, %d failed\n', npass, nfail + 1);
    status = 1;
    return;
  end

  list = pkg('list');
  check(numel(list) == 1 && strcmp(list{1}.name, 'korvane') ...
        && strncmp(list{1}.dir, root, numel(root)), 'installed into the throw-away prefix only');
  pkg('load', 'korvane');
  info = pkg('describe', '-verbose', 'korvane');
  provides = info{1}.provides;
  fns = {};
  for k = 1:numel(provides)
    fns = [fns, provides{k}.functions];
  end
  where = cellfun(@(f) exist(f), fns);
  check(numel(fns) >= 36 && all(where == 2 | where == 3), ...
        sprintf('%d functions of INDEX on the path', numel(fns)), strjoin(fns(where != 2 & where != 3), ' '));
  check(strcmp(korvane_version(), info{1}.version), 'korvane_version() is the DESCRIPTION version');

  % pkg test runs every %! block the package ships (m-files and the
  % .cc-tst files extracted from the oct-files' sources); it writes
  % fntests.log into the current folder.
  here = pwd();
  cd(root);
  out = evalc('pkg(''test'', ''korvane'')');
  cd(here);
  p = regexp(out, 'PASS\s+(\d+)', 'tokens', 'once');
  f = regexp(out, 'FAIL\s+(\d+)', 'tokens', 'once');
  ok = ! isempty(p) && str2double(p{1}) > 0 && (isempty(f) || str2double(f{1}) == 0);
  if (! isempty(p))
    what = sprintf('pkg test korvane: %s test blocks pass', p{1});
  else
    what = 'pkg test korvane';
  end
  log = '';
  if (! ok && exist(fullfile(root, 'fntests.log'), 'file'))
    log = fileread(fullfile(root, 'fntests.log'));
  end
  check(ok, what, [out log]);

  % Help texts come from the .m files; an oct-file's help is its docstring.
  for f = {'KVForward', 'KVBegin', 'KVPower', 'KVCoordinates'}
    txt = evalc(sprintf('help %s', f{1}));
    check(! isempty(strfind(txt, sprintf('%s(', f{1}))) && ! isempty(strfind(txt, 'See also')), ...
          sprintf('help %s', f{1}), txt);
  end
  check(! isempty(regexp(evalc('help KVForward'), 'size/\(N - 1\)', 'once')), ...
        'help KVForward states its grid rule');

  % Every demo runs (pictures drawn off screen).
  ndemo = 0;
  for k = 1:numel(fns)
    [code, idx] = test(fns{k}, 'grabdemo');
    for d = 1:numel(idx) - 1
      ndemo += 1;
      msg = run_demo(code(idx(d):idx(d + 1) - 1));
      ok = isempty(msg);
      check(ok, sprintf('demo %s #%d', fns{k}, d), msg);
    end
  end
  check(ndemo >= 10, sprintf('%d demos', ndemo));

  % A short chain, as a script would run it.
  try
    F = KVBegin(5e-3, 633e-9, 128);
    F = KVCircAperture(1e-3, 0, 0, F);
    F = KVLens(1, 0, 0, F);
    F = KVForward(0.5, 5e-3, 64, F);
    I = KVIntensity(1, F);
    ok = isequal(size(I), [64 64]) && abs(max(I(:)) - 1) < 1e-12 && KVPower(F) > 0;
    msg = '';
  catch err
    ok = false;
    msg = err.message;
  end
  check(ok, 'chain KVBegin, KVCircAperture, KVLens, KVForward, KVIntensity', msg);

  pkg('unload', 'korvane');
  evalc('pkg(''uninstall'', ''-local'', ''korvane'')');
  check(isempty(pkg('list')), 'pkg uninstall korvane: no package listed');
  left = [glob(fullfile(prefix, '*')); glob(fullfile(archprefix, '*'))];
  check(isempty(left), 'pkg uninstall korvane: nothing left in the prefix', strjoin(left, ' '));
  check(! exist('KVBegin') && ! exist('KVPower'), 'no Korvane function on the path after uninstall');

  printf('%d passed, %d failed\n', npass, nfail);
  status = nfail > 0;
end

function msg = run_demo(code)
  % Runs one demo block in a workspace of its own; returns its error
  % message, or '' when it ran.
  msg = '';
  try
    evalc(code);
  catch err
    msg = err.message;
  end
  close all;
end
