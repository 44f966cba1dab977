function build_korvane(outdir)
% BUILD_KORVANE  Compile every Korvane command as a MEX module for MATLAB.
%
%   build_korvane            builds into <repository>/build/matlab
%   build_korvane(outdir)    builds into outdir
%
%   Uses only the documented mex command with the separate-complex API
%   (-R2017b). Add outdir to the MATLAB path afterwards; it also receives
%   the help files, so "help KVBegin" works.
root = fileparts(fileparts(mfilename('fullpath')));
if nargin < 1
    outdir = fullfile(root, 'build', 'matlab');
end
if ~exist(outdir, 'dir')
    mkdir(outdir);
end
src = fullfile(root, 'src');
lib = {};
for sub = {'core', 'propagation', 'apertures', 'phase', 'profiles', 'analysis', 'combination'}
    files = dir(fullfile(src, sub{1}, '*.cpp'));
    for k = 1:numel(files)
        lib{end+1} = fullfile(files(k).folder, files(k).name); %#ok<AGROW>
    end
end
% MATLAB's BLAS (mwblas) takes 64-bit integers.
flags = {'-R2017b', ['-I' src], 'CXXFLAGS=$CXXFLAGS -std=c++17', ...
         '-DKV_HAVE_BLAS', '-DKV_BLAS_INT=int64_t', '-lmwblas', '-outdir', outdir};
commands = dir(fullfile(src, 'commands', 'KV*.cpp'));
for k = 1:numel(commands)
    file = fullfile(commands(k).folder, commands(k).name);
    fprintf('building %s\n', commands(k).name);
    mex(flags{:}, file, lib{:});
    help_file = strrep(file, '.cpp', '.m');
    if exist(help_file, 'file')
        copyfile(help_file, outdir);
    end
end
end
