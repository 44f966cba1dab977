function run_examples()
  % Runs every example script in this folder; each writes its pictures
  % under build/demo (see demo_dir).
  outdir = demo_dir();
  warning('off', 'Octave:gnuplot-graphics');
  warning('off', 'print:nogs');  % pngcairo needs no Ghostscript
  graphics_toolkit('gnuplot');
  set(0, 'defaultfigurevisible', 'off');
  here = fileparts(mfilename('fullpath'));
  files = dir(fullfile(here, '*.m'));
  failures = 0;
  for k = 1:numel(files)
    [~, name] = fileparts(files(k).name);
    if any(strcmp(name, {'run_examples', 'demo_dir'}))
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
