function run_examples(outdir)
  % Runs every example script in this folder; each writes its pictures
  % under OUTDIR (build/demo).
  if ~exist(outdir, 'dir')
    mkdir(outdir);
  end
  warning('off', 'Octave:gnuplot-graphics');
  graphics_toolkit('gnuplot');
  set(0, 'defaultfigurevisible', 'off');
  here = fileparts(mfilename('fullpath'));
  files = dir(fullfile(here, '*.m'));
  failures = 0;
  for k = 1:numel(files)
    [~, name] = fileparts(files(k).name);
    if strcmp(name, 'run_examples')
      continue;
    end
    printf('example %s\n', name);
    try
      run_one(fullfile(here, files(k).name));
    catch err
      printf('  FAILED: %s\n', err.message);
      failures += 1;
    end
    close all;
  end
  pngs = dir(fullfile(outdir, '*.png'));
  printf('%d pictures in %s\n', numel(pngs), outdir);
  if failures > 0
    error('%d example(s) failed', failures);
  end
end

function run_one(file)
  source(file);
end
