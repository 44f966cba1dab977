function demo_save(fig, name, caption, outdir)
  % demo_save(fig, name, caption)
  % Writes the figure as build/demo/<name>.png, at the size in pixels the
  % figure was made with (demo_figure), through gnuplot's PNG terminal,
  % and its caption (a sentence or a few, plain text) as
  % build/demo/<name>.txt beside it for the manual's gallery; closes the
  % figure. demo_save(..., outdir) writes into outdir instead.
  if nargin < 4
    outdir = demo_dir();
  end
  print(fig, '-dpngcairo', '-r80', fullfile(outdir, [name '.png']));
  fid = fopen(fullfile(outdir, [name '.txt']), 'w');
  if fid < 0
    error('demo_save: cannot write the caption of %s', name);
  end
  fprintf(fid, '%s\n', caption);
  fclose(fid);
  close(fig);
end
