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
%   F(r, c) lies at x = (c - 1 - N/2)*size/N, y = (r - 1 - N/2)*size/N:
%   x goes with the columns and y with the rows of F, and F(N/2 + 1, N/2 + 1)
%   is the origin. Every later command takes F as its last argument and
%   returns a new field or a plain array.
%
%   size and lambda are stored as given: nothing checks them, here or in a
%   header edited by hand. A size of 0, NaN or Inf gives results that look
%   plausible and mean nothing (every sample passes KVCircAperture, KVStrehl
%   says 1), so keep both positive and finite.
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
