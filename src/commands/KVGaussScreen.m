function varargout = KVGaussScreen(varargin)
% KVGaussScreen  Attenuate the field with a Gaussian screen.
%
%   Fout = KVGaussScreen(w, x_shift, y_shift, T, Fin)
%
%   w                 1/e intensity width of the screen
%   x_shift, y_shift  position of the centre of the screen
%   T                 centre transmission: the intensity factor at the centre
%   Fin               input field
%   Fout              output field, same grid as Fin
%
%   The intensity is multiplied by 1 - (1 - T)*exp(-r^2/w^2), r the distance
%   from the centre: T at the centre, tending to 1 far from it. The phase is
%   kept.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVGaussScreen(1e-3, 0, 0, 0.1, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVGaussAperture, KVSuperGaussScreen, KVCircScreen.

error('Korvane:notCompiled', ['KVGaussScreen is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
