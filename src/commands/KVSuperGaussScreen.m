function varargout = KVSuperGaussScreen(varargin)
% KVSuperGaussScreen  Attenuate the field with a super-Gaussian screen.
%
%   Fout = KVSuperGaussScreen(w, n, x_shift, y_shift, T, Fin)
%
%   w                 1/e intensity width of the screen
%   n                 power of the super-Gaussian (1 gives a Gaussian)
%   x_shift, y_shift  position of the centre of the screen
%   T                 centre transmission: the intensity factor at the centre
%   Fin               input field
%   Fout              output field, same grid as Fin
%
%   The amplitude is multiplied by sqrt(1 - (1 - T)*exp(-(r/w)^(2n))), r the
%   distance from the centre. n is used as given (not rounded). w = 0
%   switches the screen off: the field passes unchanged.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVSuperGaussScreen(1e-3, 4, 0, 0, 0, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVSuperGaussAperture, KVGaussScreen, KVCircScreen.

error('Korvane:notCompiled', ['KVSuperGaussScreen is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
