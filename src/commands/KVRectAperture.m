function varargout = KVRectAperture(varargin)
% KVRectAperture  Pass the field inside a rotated rectangle, zero it outside.
%
%   Fout = KVRectAperture(w, h, x_shift, y_shift, Phi, Fin)
%
%   w, h              full width and height of the aperture
%   x_shift, y_shift  position of the centre of the aperture
%   Phi               rotation angle in degrees, about the centre
%   Fin               input field
%   Fout              output field, same grid as Fin
%
%   The width runs along x when Phi is 0; Phi = 90 turns it along y. A
%   sample exactly on an edge passes. Blocked samples become exactly 0. A
%   negative w or h blocks everything.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVRectAperture(2e-3, 1e-3, 0, 0, 30, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVRectScreen, KVCircAperture, KVGaussAperture.

error('Korvane:notCompiled', ['KVRectAperture is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
