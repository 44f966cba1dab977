function build_korvane(outdir, api)
% BUILD_KORVANE  Compile every Korvane command as a MEX module for MATLAB.
%
%   build_korvane                       builds into <repository>/build/matlab
%   build_korvane(outdir)               builds into outdir
%   build_korvane(outdir, 'separate')   for MATLAB before R2018a
%
%   By default the modules use MATLAB's interleaved complex API (-R2018a,
%   MATLAB R2018a and later): fields are read and written in place. With
%   'separate' they use the separate-complex API (-R2017b) of older
%   releases, converting each field at the boundary.
%
%   Uses only the documented mex command. The shared sources are compiled
%   once (mex -c) and linked into each command. KVForward and KVFraunhofer
%   call MATLAB's own BLAS (-lmwblas, 64-bit integers; the routines are zgemm
%   and dgemm on Windows, zgemm_ and dgemm_ elsewhere). The FFT propagators (KVFresnelFFT, KVAngularSpectrum)
%   link FFTW: MATLAB's own copy (libmwfftw3 in matlabroot/bin/<arch>) on
%   Linux and macOS, on one thread (the toolbox declares the FFTW functions
%   itself, since MATLAB ships no fftw3.h); on Windows, or to use another
%   FFTW, set the environment variable KV_FFTW to a folder with
%   include/fftw3.h and lib/ (a libfftw3 import library) before calling
%   build_korvane.
%
%   Ctrl-C stops a long call with the error Korvane:interrupted when MATLAB
%   exports its interrupt query (utIsInterruptPending), looked up when the
%   call runs; without it a call runs to its end.
%
%   Add outdir to the MATLAB path afterwards; it also receives the help files
%   and Contents.m, so "help KVBegin" and "help korvane" work.
root = fileparts(fileparts(mfilename('fullpath')));
if nargin < 1 || isempty(outdir)
    outdir = fullfile(root, 'build', 'matlab');
end
if nargin < 2
    api = 'interleaved';
end
switch api
    case 'interleaved'
        release = '-R2018a';
    case 'separate'
        release = '-R2017b';
    otherwise
        error('build_korvane: api must be ''interleaved'' or ''separate''');
end
% Windows keeps loaded modules open, so a rebuild could not replace them.
clear mex; %#ok<CLMEX>
objdir = fullfile(outdir, 'obj');
if ~exist(objdir, 'dir')
    mkdir(objdir);
end
src = fullfile(root, 'src');

% The C++17 flag goes where the selected compiler reads it: COMPFLAGS for
% Microsoft Visual C++, CXXFLAGS for GCC, MinGW-w64 and Clang.
cc = mex.getCompilerConfigurations('C++', 'Selected');
if isempty(cc)
    error('build_korvane: no C++ compiler is set up; run "mex -setup C++" first');
end
if contains(cc.Manufacturer, 'Microsoft')
    std_flag = 'COMPFLAGS=$COMPFLAGS /std:c++17';
else
    std_flag = 'CXXFLAGS=$CXXFLAGS -std=c++17';
end
compile_flags = {release, ['-I' src], std_flag, '-DKV_HAVE_BLAS', '-DKV_BLAS_INT=int64_t'};
[fftw_compile, fftw_link] = fftw_flags();
compile_flags = [compile_flags, fftw_compile];
link_libs = [{'-lmwblas'}, fftw_link];
% Ctrl-C: the modules look MATLAB's interrupt query up at run time (dlsym,
% in libdl on older Linux systems).
if isunix && ~ismac
    link_libs{end+1} = '-ldl';
end

% The shared sources, compiled once.
lib = {};
for sub = {'core', 'propagation', 'apertures', 'phase', 'turbulence', 'profiles', 'analysis', ...
           'combination'}
    files = dir(fullfile(src, sub{1}, '*.cpp'));
    for k = 1:numel(files)
        if strcmp(files(k).name, 'host_oct.cpp')   % the Octave adapter
            continue;
        end
        file = fullfile(files(k).folder, files(k).name);
        fprintf('compiling %s\n', files(k).name);
        mex(compile_flags{:}, '-c', '-outdir', objdir, file);
        [~, base] = fileparts(files(k).name);
        lib{end+1} = fullfile(objdir, [base, obj_ext()]); %#ok<AGROW>
    end
end

commands = dir(fullfile(src, 'commands', 'KV*.cpp'));
for k = 1:numel(commands)
    file = fullfile(commands(k).folder, commands(k).name);
    fprintf('building %s\n', commands(k).name);
    mex(compile_flags{:}, '-outdir', outdir, file, lib{:}, link_libs{:});
    help_file = strrep(file, '.cpp', '.m');
    if exist(help_file, 'file')
        copyfile(help_file, outdir);
    end
end
copyfile(fullfile(root, 'matlab', 'Contents.m'), outdir);
% The helpers written in the scripting language (KVCoordinates, KVHeader, ...).
copyfile(fullfile(root, 'inst', '*.m'), outdir);
copyfile(fullfile(root, 'VERSION'), outdir);  % read by korvane_version
fprintf('Korvane: %d commands in %s (%s API)\n', numel(commands), outdir, api);
end

function ext = obj_ext()
% What mex -c writes.
if ispc
    ext = '.obj';
else
    ext = '.o';
end
end

function [compile, link] = fftw_flags()
% Where FFTW's header and library come from.
own = getenv('KV_FFTW');
if ~isempty(own)
    compile = {['-I' fullfile(own, 'include')]};
    link = {['-L' fullfile(own, 'lib')], '-lfftw3'};
    return;
end
if ispc
    error(['build_korvane: set KV_FFTW to an FFTW installation (include/fftw3.h, ' ...
           'lib/libfftw3 import library) on Windows']);
end
% MATLAB ships FFTW as libmwfftw3 beside its other libraries; the header
% comes from the declarations the toolbox carries (src/propagation).
bindir = fullfile(matlabroot, 'bin', computer('arch'));
compile = {'-DKV_FFTW_OWN_DECLARATIONS', '-DKV_FFTW_NO_THREADS'};
link = {['-L' bindir], '-lmwfftw3'};
end
