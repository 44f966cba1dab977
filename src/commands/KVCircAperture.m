function varargout = KVCircAperture(varargin)
% KVCircAperture  Pass the field inside a circle, zero it outside.
%
%   Fout = KVCircAperture(R, x_shift, y_shift, Fin)
%
%   R                 radius of the aperture (only R^2 is used)
%   x_shift, y_shift  position of the centre of the aperture
%   Fin               input field (from KVBegin or any other command)
%   Fout              output field, same grid as Fin
%
%   F(r, c) lies at x = (c - 1 - N/2)*size/N, y = (r - 1 - N/2)*size/N:
%   x goes with the columns of the field, y with its rows (floor(N/2) for
%   an odd N). A sample exactly on
%   the circle passes. Blocked samples become exactly 0. NaN parameters
%   block nothing.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVCircAperture(1e-3, 0, 0, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVCircScreen, KVRectAperture, KVGaussAperture.

error('Korvane:notCompiled', ['KVCircAperture is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
