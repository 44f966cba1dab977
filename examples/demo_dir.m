function outdir = demo_dir()
  % The folder the examples write their pictures to: build/demo below the
  % repository root (the folder above this one), made when missing.
  root = fileparts(fileparts(mfilename('fullpath')));
  outdir = fullfile(root, 'build', 'demo');
  if ~exist(outdir, 'dir')
    mkdir(outdir);
  end
end
