function varargout = KVTilt(varargin)
% KVTilt  Tilt the wave front of the field.
%
%   Fout = KVTilt(tx, ty, Fin)
%
%   tx, ty  tilt angles in the x and y directions, in radians
%   Fin     input field
%   Fout    output field, same grid as Fin
%
%   Each sample is multiplied by exp(-i*k*(x*tx + y*ty)), k = 2*pi/lambda:
%   the angles are used as slopes, which holds for small angles. The
%   amplitude is unchanged and the sample at the grid centre keeps its
%   value.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVTilt(1e-4, 0, F);
%     imagesc(KVPhase(F)); axis image
%
%   See also KVLens, KVZernike, KVAxicon.

error('Korvane:notCompiled', ['KVTilt is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
