function varargout = KVAxicon(varargin)
% KVAxicon  Pass the field through an axicon (a conical lens).
%
%   Fout = KVAxicon(phi, n1, x_shift, y_shift, Fin)
%
%   phi               top angle of the axicon, in radians (pi is a flat plate)
%   n1                refractive index of the axicon material
%   x_shift, y_shift  position of the tip of the axicon
%   Fin               input field, in normal coordinates
%   Fout              output field, same grid as Fin
%
%   The phase falls linearly with the distance r from the tip:
%   exp(-i*k*theta*r), with deflection angle
%   theta = asin(n1*cos(phi/2) + phi/2 - pi/2). Where the arcsine has no
%   real value the result is NaN. A field in spherical coordinates is
%   refused: convert it with KVConvert first.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVAxicon(179*pi/180, 1.5, 0, 0, F);
%     imagesc(KVPhase(F)); axis image
%
%   See also KVLens, KVTilt, KVConvert.

error('Korvane:notCompiled', ['KVAxicon is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
