function run_examples()
  % Runs every example script in this folder; each writes its pictures
  % under build/demo (see demo_dir), a PNG and its caption (.txt) each.
  % The demo_*.m files are the helpers the examples share, not examples.
  outdir = demo_dir();
  % Pictures of an earlier run go, so that the gallery shows this run's.
  old = [dir(fullfile(outdir, '*.png')); dir(fullfile(outdir, '*.txt'))];
  for k = 1:numel(old)
    delete(fullfile(outdir, old(k).name));
  end
  warning('off', 'Octave:gnuplot-graphics');
  warning('off', 'print:nogs');  % pngcairo needs no Ghostscript
  graphics_toolkit('gnuplot');
  set(0, 'defaultfigurevisible', 'off');
  here = fileparts(mfilename('fullpath'));
  files = dir(fullfile(here, '*.m'));
  failures = 0;
  for k = 1:numel(files)
    [~, name] = fileparts(files(k).name);
    if strcmp(name, 'run_examples') || strncmp(name, 'demo_', 5)
      continue;
    end
    printf('example %s\n', name);
    lastwarn('');
    try
      run_one(fullfile(here, files(k).name));
      % An example that warns is a fault of the example: the demo stays
      % free of warnings.
      if ! isempty(lastwarn())
        printf('  FAILED: it warned: %s\n', lastwarn());
        failures += 1;
      end
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
