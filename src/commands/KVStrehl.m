function varargout = KVStrehl(varargin)
% KVStrehl  The Strehl ratio of a field: 1 for a flat phase, less otherwise.
%
%   SR = KVStrehl(Fin)
%
%   Fin  input field
%   SR   |sum of all samples|^2 / (sum of all sample magnitudes)^2, a real
%        number between 0 and 1
%
%   The ratio compares the field with one of the same amplitudes and a
%   uniform phase; neither the grid size nor the wavelength enters. A field
%   whose samples are all zero raises "Zero beam power"; a NaN sample gives
%   NaN.
%
%   Example:
%     F = KVCircAperture(2e-3, 0, 0, KVBegin(5e-3, 633e-9, 128));
%     SR = KVStrehl(KVZernike(4, 0, 2e-3, 0.5, F))
%
%   See also KVZernike, KVNormal, KVPhase.

error('Korvane:notCompiled', ['KVStrehl is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
