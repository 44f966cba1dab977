function varargout = KVSuperGaussAperture(varargin)
% KVSuperGaussAperture  Multiply the field by a super-Gaussian profile.
%
%   Fout = KVSuperGaussAperture(w, n, x_shift, y_shift, R, Fin)
%
%   w                 1/e intensity width of the aperture
%   n                 power of the super-Gaussian (1 gives a Gaussian)
%   x_shift, y_shift  position of the centre of the aperture
%   R                 centre reflection: the intensity factor at the centre
%   Fin               input field
%   Fout              output field, same grid as Fin
%
%   The amplitude is multiplied by sqrt(R)*exp(-(r/w)^(2n)/2), r the
%   distance from the centre; the higher n, the flatter the top and the
%   steeper the edge. n is used as given (not rounded). w = 0 acts as w = 1.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVSuperGaussAperture(1.5e-3, 6, 0, 0, 1, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVSuperGaussScreen, KVGaussAperture, KVCircAperture.

error('Korvane:notCompiled', ['KVSuperGaussAperture is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
