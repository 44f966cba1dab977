function varargout = KVFocus(varargin)
% KVFocus  Pass the field through a lens and propagate it, on a grid that follows the beam.
%
%   Fout = KVFocus(f, z, Fin)
%
%   f     focal length of an ideal thin lens on the axis at Fin's plane
%         (negative: diverging); 0, Inf and NaN are refused
%   z     propagation distance behind the lens (Fresnel approximation);
%         must be finite
%   Fin   input field, in normal or in spherical coordinates
%   Fout  the field at z, in spherical coordinates: size
%         size*|f_t - z|/|f_t|, curvature 1/(z - f_t)
%
%   The lens's phase is not sampled: it goes into the coordinates. The
%   samples are propagated by KVFresnelFFT over the equivalent distance
%   z*f_t/(f_t - z) on their own grid, and the grid is then scaled by
%   (f_t - z)/f_t, so that a converging beam keeps its samples where its
%   light is. KVConvert(Fout) gives the field in normal coordinates on that
%   grid. Past the focus (z > f_t > 0) the grid is inverted, as the image
%   is. The cost is that of one KVFresnelFFT.
%
%   f_t is the focal length of the lens together with Fin's own curvature c
%   (a field that KVFocus or KVFresnelFFT left in spherical coordinates):
%   1/f_t = 1/f - c, so KVFocus calls chain. When the two cancel (1/f = c,
%   an afocal pair) there is no focus: Fout is the plain Fresnel propagation
%   over z on Fin's grid, in normal coordinates (curvature 0).
%
%   The focal plane itself, z = f_t, has no grid (its side would be 0) and
%   is refused (Korvane:badValue): use KVFraunhofer there.
%
%   Where it holds. The grid shrinks with |f_t - z| while the focal spot
%   does not, so close to the focus the spot outgrows the grid. With
%   L = size*|f_t - z|/|f_t| the side of Fout's grid, the Fresnel number of
%   that grid,
%
%       NF = L^2/(lambda*|f_t - z|),
%
%   says how many focal spots fit across it. Measured on a Gaussian beam
%   and on a uniformly lit circular aperture filling half the grid (D =
%   size/2), KVConvert(Fout) is within 1e-3 of the peak of the exact Fresnel
%   field for NF >= 4*N... (see the manual page "Focusing and sampling").
%   Inside that range use KVFraunhofer, which gives the focal plane on a
%   grid of any size, and KVFresnelFFT (or KVAngularSpectrum) from there.
%   Like KVFresnelFFT the propagation is periodic: leave room around the
%   beam (KVPad before the lens).
%
%   Example: a beam focused by a 0.5 m lens, seen 0.45 m behind it
%     F = KVBegin(10e-3, 1064e-9, 256);
%     F = KVGaussAperture(2e-3, 0, 0, 1, F);
%     G = KVFocus(0.5, 0.45, F);            % side 1 mm, curvature -1/0.05
%     imagesc(KVIntensity(0, KVConvert(G))); axis image
%
%   See also KVFraunhofer, KVFresnelFFT, KVConvert, KVLens, KVPad.

error('Korvane:notCompiled', ['KVFocus is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
