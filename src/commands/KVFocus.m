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
%   does not, so close to the focus the spot outgrows the grid (and its
%   light comes back through the grid's periodic edges). With
%   L = size*|f_t - z|/|f_t| the side of Fout's grid, the Fresnel number of
%   that grid
%
%       NF = L^2/(lambda*|f_t - z|)
%
%   tells. Measured on Gaussian beams (N = 256, 1/e^2 diameter D from
%   size/3 to size/8, both sides of the focus) against the Fresnel integral
%   summed directly: KVConvert(Fout) is within 1e-3 of the peak intensity
%   for NF >= 4*size/D, and within 1e-6 for NF >= 8*size/D; at
%   NF = 2.5*size/D it is off by 0.2 % to 1 %, at NF = 1.3*size/D by half
%   the peak. Inside that range (|z - f_t| below about
%   4*lambda*f_t^2/(size*D)) use KVFraunhofer, which gives the focal plane
%   on a grid of any size, and KVFresnelFFT or KVAngularSpectrum from there.
%   A beam with hard edges (KVCircAperture) sends light far outside its
%   cone, which any FFT propagation folds back into the grid: its side
%   lobes are then only a few per cent right at any distance; soften the
%   edge (KVSuperGaussAperture) or take KVFraunhofer. Like KVFresnelFFT the
%   propagation needs room around the beam (KVPad before the lens).
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
