function varargout = KVMedium(varargin)
% KVMedium  Propagate the field through a refractive-index distribution.
%
%   Fout = KVMedium(z, steps, n, Fin)
%   Fout = KVMedium(z, steps, n, Fin, absorber)
%   [Fout, Ixz] = KVMedium(...)
%
%   See also KVMode, KVAngularSpectrum.
error('Korvane:notCompiled', 'KVMedium is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
