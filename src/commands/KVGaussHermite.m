function varargout = KVGaussHermite(varargin)
% KVGaussHermite  Put a Gauss-Hermite laser mode TEM(n,m) into the field.
%
%   Fout = KVGaussHermite(n, m, A, w0, Fin)
%
%   n     mode number along y (the rows); truncated to an integer
%   m     mode number along x (the columns); truncated to an integer
%   A     amplitude factor of the whole mode
%   w0    beam waist (amplitude radius), in the unit of size
%   Fin   input field; only its grid and header are used
%   Fout  output field, same grid as Fin, with a flat wave front
%
%   Fout = A*H_m(sqrt(2)*x/w0)*H_n(sqrt(2)*y/w0)*exp(-(x^2+y^2)/w0^2),
%   H_k the physicists' Hermite polynomial (H_2(t) = 4t^2 - 2), not
%   normalised, so the centre of TEM00 is A and that of TEM20 is -2A. The
%   result is real: its phase is 0 or pi. Negative orders act as 0. Very
%   high orders overflow and give NaN samples.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVGaussHermite(2, 1, 1, 1e-3, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVBegin, KVGaussAperture, KVIntensity.

error('Korvane:notCompiled', ['KVGaussHermite is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
