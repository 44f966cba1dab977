function varargout = KVMode(varargin)
% KVMode  A guided mode of a refractive-index distribution.
%
%   [Fmode, neff] = KVMode(n, m, Fin)
%
%   See also KVMedium.
error('Korvane:notCompiled', 'KVMode is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
