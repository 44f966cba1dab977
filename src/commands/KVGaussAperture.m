function varargout = KVGaussAperture(varargin)
% KVGaussAperture  Multiply the field by a Gaussian amplitude profile.
%
%   Fout = KVGaussAperture(w, x_shift, y_shift, R, Fin)
%
%   w                 1/e intensity width of the aperture
%   x_shift, y_shift  position of the centre of the aperture
%   R                 centre reflection: the intensity factor at the centre
%   Fin               input field
%   Fout              output field, same grid as Fin
%
%   The intensity is multiplied by R*exp(-r^2/w^2), r the distance from the
%   centre; the phase is kept.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVGaussAperture(1e-3, 0, 0, 1, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVGaussScreen, KVSuperGaussAperture, KVCircAperture.

error('Korvane:notCompiled', ['KVGaussAperture is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
