function varargout = KVBegin(varargin)
% KVBegin  Create a new field: a plane wave of amplitude 1 and phase 0.
%
%   F = KVBegin(size, lambda, N)
%
%   size    side length of the square grid (your length unit)
%   lambda  wavelength, in the same unit
%   N       grid dimension (samples per side); truncated to an integer,
%           at least 8 and even
%   F       the field: an N x (N+1) array, N x N samples followed by a
%           header column [size; lambda; N; curvature; aux_int; 0; ...]
%
%   Sample (i, j) lies at x = (i - N/2)*size/N, y = (j - N/2)*size/N, with
%   x along the columns and y along the rows of F; the sample in row N/2+1,
%   column N/2+1 is the origin. Every later command takes F as its last
%   argument and returns a new field or a plain array.
%
%   Octave turns a complex array whose imaginary parts are all zero into a
%   real one, so a fresh field is real there; every command accepts it.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%
%   See also KVCircAperture, KVForward, KVIntensity.

error('Korvane:notCompiled', ['KVBegin is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
